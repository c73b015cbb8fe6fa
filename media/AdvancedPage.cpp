// Switching between the main page and the advanced page.
#include "../app/SetupDlg.h"

// The advanced page is not built yet; both buttons do nothing so far.
void CSetupDlg::OnButtonAdvanced() {}
void CSetupDlg::OnButtonBack() {}
