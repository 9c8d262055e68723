#include "editor/EditHistory.h"
