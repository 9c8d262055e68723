#include "store/Profile.h"
