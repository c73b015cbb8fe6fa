// The active profile: the INI file the application's profile functions read
// and write. Only the dialog switches it.
#include "../app/SetupApp.h"
#include "../app/SetupDlg.h"

void CSetupDlg::SelectProfile(const char* path)
{
    // The path is kept whole, however long; the old name is released.
    AfxGetApp()->m_strProfileName = path;
}
