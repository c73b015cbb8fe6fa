// The application object: runs the setup dialog as its main window.
#pragma once

#include "../platform/framework/WinApp.h"

class CSetupApp : public CWinApp {
public:
    CSetupApp();
    BOOL InitInstance() override;
};
