// Windows and controls of the framework. In the Win32 backend every member
// is a one-line forwarder to the system; in the simulated backend it acts on
// an in-memory window of the simulated desktop.
#pragma once

#include "String.h"
#include "Types.h"

#ifndef WM_SETICON
#define WM_SETICON 0x0080
#define ICON_SMALL 0
#define ICON_BIG 1
#endif
#ifndef WM_ICONERASEBKGND
#define WM_ICONERASEBKGND 0x0027
#endif
#ifndef SM_CXICON
#define SM_CXICON 11
#define SM_CYICON 12
#endif

struct Rect {
    int left, top, right, bottom;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

// A device context handed to a painting or colouring handler.
class CDC {
public:
    explicit CDC(DcHandle hDC = nullptr) : m_hDC(hDC) {}
    COLORREF SetTextColor(COLORREF color);
    BOOL DrawIcon(int x, int y, IconHandle icon);

    DcHandle m_hDC;
};

// A paint context opened on a window for the span of one WM_PAINT.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(class CWnd* window);
    ~CPaintDC();
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

private:
    WindowHandle m_hWnd;
    unsigned char m_paint[72];  // the system's paint record, opaque here
};

class CWnd {
public:
    CWnd() : m_hWnd(nullptr) {}
    explicit CWnd(WindowHandle hWnd) : m_hWnd(hWnd) {}
    virtual ~CWnd() {}
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    WindowHandle GetSafeHwnd() const { return m_hWnd; }
    void Attach(WindowHandle hWnd) { m_hWnd = hWnd; }

    void SetWindowText(const char* text);
    CString GetWindowText() const;
    BOOL ShowWindow(int command);
    BOOL EnableWindow(BOOL enable);
    BOOL IsWindowVisible() const;
    BOOL IsWindowEnabled() const;
    BOOL IsIconic() const;
    void GetClientRect(Rect* rect) const;
    WindowHandle GetDlgItem(int id) const;
    intptr_t SendMessage(UINT message, uintptr_t wParam = 0, intptr_t lParam = 0);
    BOOL PostMessage(UINT message, uintptr_t wParam = 0, intptr_t lParam = 0);

    // A message box owned by this window; without a caption it shows the
    // application's name, and only the icon the type names.
    int MessageBox(const char* text, const char* caption = nullptr, UINT type = MB_OK);

    WindowHandle m_hWnd;
};

class CButton : public CWnd {
public:
    int GetCheck() const;
    void SetCheck(int state);
};

class CComboBox : public CWnd {
public:
    int AddString(const char* text);
    void ResetContent();
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int index);
    CString GetLBText(int index) const;
};

class CEdit : public CWnd {};
class CStatic : public CWnd {};

class CProgressCtrl : public CWnd {
public:
    int SetPos(int position);
    int GetPos() const;
};

int SystemMetric(int index);
