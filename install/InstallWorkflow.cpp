// The Install button: installs the driver and the printer for this system.
#include "../app/SetupDlg.h"

// The install workflow is not built yet; the button does nothing so far.
void CSetupDlg::InstallPrinter() {}
