#include "editor/EditRecorder.h"
