#include "ui/StatusBar.h"
