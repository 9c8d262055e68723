#include "workspace/LabelCommands.h"
