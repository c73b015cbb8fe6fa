// Included first by every file of the Win32 backend: the system headers,
// then the mapping between the framework's opaque handles and the system's.
#pragma once

#include <windows.h>
#include <commctrl.h>

// The system's headers map these names onto their A/W forms; the framework
// uses them as member names and calls the A forms itself.
#undef SendMessage
#undef PostMessage
#undef MessageBox
#undef SetWindowText
#undef GetWindowText
#undef LoadIcon
#undef GetModuleFileName
#undef GetDriveType
#undef GetVersionEx
#undef GetProfileString
#undef GetProfileInt
#undef WriteProfileString
#undef CopyFile
#undef DeleteFile
#undef GetTempPath

#include "../framework/Types.h"

inline HWND H(WindowHandle h) { return reinterpret_cast<HWND>(h); }
inline WindowHandle W(HWND h) { return reinterpret_cast<WindowHandle>(h); }
inline HICON HI(IconHandle h) { return reinterpret_cast<HICON>(h); }
inline HDC HD(DcHandle h) { return reinterpret_cast<HDC>(h); }
