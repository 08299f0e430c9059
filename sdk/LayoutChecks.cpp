// Compiles the layout checks of our host API declarations (LayoutChecks.h) with every build.
#include "LayoutChecks.h"
