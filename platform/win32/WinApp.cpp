#include "Win32.h"

#include "../framework/WinApp.h"

IconHandle CWinApp::LoadIcon(UINT id) const
{
    return reinterpret_cast<IconHandle>(::LoadIconA(reinterpret_cast<HINSTANCE>(m_hInstance), MAKEINTRESOURCEA(id)));
}
