#pragma once

// The registry lives with the application's screens now, where the link
// router reaches it; this name stays for code that still includes it here.
#include "app/navigation/ScreenInputs.h"
