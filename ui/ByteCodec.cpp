#include "ui/ByteCodec.h"
