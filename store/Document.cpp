#include "store/Document.h"
