// The make-install-diskette tool of the advanced page.
#include "../app/SetupDlg.h"

// Not built yet: the button does nothing so far.
void CSetupDlg::OnButtonMakeDisk() {}
