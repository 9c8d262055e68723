#include "workspace/DocumentCommands.h"
