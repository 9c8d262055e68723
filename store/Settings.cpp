#include "store/Settings.h"
