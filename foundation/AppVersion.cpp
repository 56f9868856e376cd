#include "foundation/AppVersion.h"

const char* const gAppVer = "Ver 8.23";
