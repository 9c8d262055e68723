#include "ui/TreeView.h"
