// The one application object of Install.exe, constructed before the
// framework's entry runs. (The unit tests make their own.)
#include "SetupApp.h"

CSetupApp theApp;
