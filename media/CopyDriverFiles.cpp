// The copy-driver-files tool of the advanced page.
#include "../app/SetupDlg.h"

// Not built yet: both buttons do nothing so far.
void CSetupDlg::OnButtonBrowse() {}
void CSetupDlg::OnButtonCopy() {}
