#include "store/Backup.h"
