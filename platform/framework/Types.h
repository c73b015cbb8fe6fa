// Plain types and the few system constants the program's logic names.
// Logic folders include this instead of <windows.h>; the values are the
// system's own. The Win32 backend includes <windows.h> first, so every
// definition here is guarded.
#pragma once

#include <stddef.h>
#include <stdint.h>

#ifndef _WINDEF_
typedef int BOOL;
typedef unsigned int UINT;
typedef unsigned long DWORD;
typedef DWORD COLORREF;
#endif
#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

// Opaque handles: the Win32 backend maps them onto HWND, HICON and so on,
// the simulated backend onto its own objects.
typedef struct WindowHandle_* WindowHandle;
typedef struct IconHandle_* IconHandle;
typedef struct BrushHandle_* BrushHandle;
typedef struct DcHandle_* DcHandle;

// A queued window message as the modal loop hands it to PreTranslateMessage.
struct WindowMessage {
    WindowHandle hwnd;
    UINT message;
    uintptr_t wParam;
    intptr_t lParam;
};

#ifndef IDOK
#define IDOK 1
#define IDCANCEL 2
#define IDABORT 3
#define IDRETRY 4
#define IDIGNORE 5
#define IDYES 6
#define IDNO 7
#endif

#ifndef MB_OK
#define MB_OK 0x00000000L
#define MB_OKCANCEL 0x00000001L
#define MB_ABORTRETRYIGNORE 0x00000002L
#define MB_YESNOCANCEL 0x00000003L
#define MB_YESNO 0x00000004L
#define MB_RETRYCANCEL 0x00000005L
#define MB_ICONHAND 0x00000010L
#define MB_ICONQUESTION 0x00000020L
#define MB_ICONEXCLAMATION 0x00000030L
#define MB_ICONASTERISK 0x00000040L
#define MB_TYPEMASK 0x0000000FL
#define MB_ICONMASK 0x000000F0L
#endif

#ifndef WM_CLOSE
#define WM_CLOSE 0x0010
#endif
#ifndef WM_KEYDOWN
#define WM_KEYDOWN 0x0100
#define WM_KEYUP 0x0101
#endif
#ifndef VK_RETURN
#define VK_RETURN 0x0D
#define VK_ESCAPE 0x1B
#endif

#ifndef BN_CLICKED
#define BN_CLICKED 0
#endif
#ifndef CBN_SELCHANGE
#define CBN_SELCHANGE 1
#endif
#ifndef BST_CHECKED
#define BST_UNCHECKED 0
#define BST_CHECKED 1
#endif
#ifndef CB_ERR
#define CB_ERR (-1)
#endif
#ifndef SW_HIDE
#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_SHOW 5
#endif
#ifndef DRIVE_REMOVABLE
#define DRIVE_UNKNOWN 0
#define DRIVE_NO_ROOT_DIR 1
#define DRIVE_REMOVABLE 2
#define DRIVE_FIXED 3
#define DRIVE_REMOTE 4
#define DRIVE_CDROM 5
#define DRIVE_RAMDISK 6
#endif

#ifndef RGB
#define RGB(r, g, b) ((COLORREF)(((uint8_t)(r)) | ((uint16_t)((uint8_t)(g)) << 8) | (((DWORD)(uint8_t)(b)) << 16)))
#endif
