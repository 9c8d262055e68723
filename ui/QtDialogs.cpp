#include "ui/QtDialogs.h"
