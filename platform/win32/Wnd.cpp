#include "Win32.h"

#include "../framework/WinApp.h"
#include "../framework/Wnd.h"

COLORREF CDC::SetTextColor(COLORREF color) { return ::SetTextColor(HD(m_hDC), color); }
BOOL CDC::DrawIcon(int x, int y, IconHandle icon) { return ::DrawIcon(HD(m_hDC), x, y, HI(icon)); }

static_assert(sizeof(PAINTSTRUCT) <= 72, "CPaintDC keeps the paint record in 72 bytes");

CPaintDC::CPaintDC(CWnd* window) : m_hWnd(window->m_hWnd)
{
    m_hDC = reinterpret_cast<DcHandle>(::BeginPaint(H(m_hWnd), reinterpret_cast<PAINTSTRUCT*>(m_paint)));
}
CPaintDC::~CPaintDC() { ::EndPaint(H(m_hWnd), reinterpret_cast<PAINTSTRUCT*>(m_paint)); }

void CWnd::SetWindowText(const char* text) { ::SetWindowTextA(H(m_hWnd), text); }

CString CWnd::GetWindowText() const
{
    CString text;
    int length = ::GetWindowTextLengthA(H(m_hWnd));
    text.ReleaseBuffer(::GetWindowTextA(H(m_hWnd), text.GetBuffer(length + 1), length + 1));
    return text;
}

BOOL CWnd::ShowWindow(int command) { return ::ShowWindow(H(m_hWnd), command); }
BOOL CWnd::EnableWindow(BOOL enable) { return ::EnableWindow(H(m_hWnd), enable); }
BOOL CWnd::IsWindowVisible() const { return ::IsWindowVisible(H(m_hWnd)); }
BOOL CWnd::IsWindowEnabled() const { return ::IsWindowEnabled(H(m_hWnd)); }
BOOL CWnd::IsIconic() const { return ::IsIconic(H(m_hWnd)); }
void CWnd::GetClientRect(Rect* rect) const { ::GetClientRect(H(m_hWnd), reinterpret_cast<RECT*>(rect)); }
WindowHandle CWnd::GetDlgItem(int id) const { return W(::GetDlgItem(H(m_hWnd), id)); }

intptr_t CWnd::SendMessage(UINT message, uintptr_t wParam, intptr_t lParam)
{
    return ::SendMessageA(H(m_hWnd), message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, uintptr_t wParam, intptr_t lParam)
{
    return ::PostMessageA(H(m_hWnd), message, wParam, lParam);
}

int CWnd::MessageBox(const char* text, const char* caption, UINT type)
{
    return ::MessageBoxA(H(m_hWnd), text, caption ? caption : AfxGetApp()->m_strAppName.c_str(), type);
}

int CButton::GetCheck() const { return int(::SendMessageA(H(m_hWnd), BM_GETCHECK, 0, 0)); }
void CButton::SetCheck(int state) { ::SendMessageA(H(m_hWnd), BM_SETCHECK, state, 0); }

int CComboBox::AddString(const char* text) { return int(::SendMessageA(H(m_hWnd), CB_ADDSTRING, 0, LPARAM(text))); }
void CComboBox::ResetContent() { ::SendMessageA(H(m_hWnd), CB_RESETCONTENT, 0, 0); }
int CComboBox::GetCount() const { return int(::SendMessageA(H(m_hWnd), CB_GETCOUNT, 0, 0)); }
int CComboBox::GetCurSel() const { return int(::SendMessageA(H(m_hWnd), CB_GETCURSEL, 0, 0)); }
int CComboBox::SetCurSel(int index) { return int(::SendMessageA(H(m_hWnd), CB_SETCURSEL, index, 0)); }

CString CComboBox::GetLBText(int index) const
{
    CString text;
    int length = int(::SendMessageA(H(m_hWnd), CB_GETLBTEXTLEN, index, 0));
    if (length == CB_ERR)
        return text;
    int got = int(::SendMessageA(H(m_hWnd), CB_GETLBTEXT, index, LPARAM(text.GetBuffer(length + 1))));
    text.ReleaseBuffer(got == CB_ERR ? 0 : got);
    return text;
}

int CProgressCtrl::SetPos(int position) { return int(::SendMessageA(H(m_hWnd), PBM_SETPOS, position, 0)); }
int CProgressCtrl::GetPos() const { return int(::SendMessageA(H(m_hWnd), PBM_GETPOS, 0, 0)); }

int SystemMetric(int index) { return ::GetSystemMetrics(index); }
