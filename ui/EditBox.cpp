#include "ui/EditBox.h"
