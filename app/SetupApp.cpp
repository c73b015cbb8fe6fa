#include "SetupApp.h"

#include "SetupDlg.h"

CSetupApp::CSetupApp() {}

BOOL CSetupApp::InitInstance()
{
    AfxEnableControlContainer();
    Enable3dControlsStatic();

    CSetupDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();  // the dialog ends only by Cancel; its result says nothing more
    m_pMainWnd = nullptr;

    // No message loop of our own: the application ends with the dialog.
    return FALSE;
}
