#include "store/SettingsLocation.h"
