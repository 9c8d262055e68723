#include "ui/Dialogs.h"
