#include "store/FontRecord.h"
