// The framework's windows and controls on the simulated desktop.
#include <string>

#include "SimMachine.h"

namespace {
SimWindow* S(WindowHandle h) { return reinterpret_cast<SimWindow*>(h); }
}  // namespace

COLORREF CDC::SetTextColor(COLORREF color)
{
    SimDc* dc = reinterpret_cast<SimDc*>(m_hDC);
    COLORREF old = dc->textColour;
    dc->textColour = color;
    dc->textColourSet = true;
    return old;
}

BOOL CDC::DrawIcon(int, int, IconHandle) { return TRUE; }

CPaintDC::CPaintDC(CWnd* window) : m_hWnd(window->m_hWnd)
{
    m_hDC = reinterpret_cast<DcHandle>(new SimDc);
}

CPaintDC::~CPaintDC() { delete reinterpret_cast<SimDc*>(m_hDC); }

void CWnd::SetWindowText(const char* text) { S(m_hWnd)->text = text ? text : ""; }
CString CWnd::GetWindowText() const { return CString(S(m_hWnd)->text.c_str()); }

BOOL CWnd::ShowWindow(int command)
{
    BOOL was = S(m_hWnd)->visible;
    S(m_hWnd)->visible = command != SW_HIDE;
    return was;
}

BOOL CWnd::EnableWindow(BOOL enable)
{
    BOOL wasDisabled = !S(m_hWnd)->enabled;
    S(m_hWnd)->enabled = enable != FALSE;
    return wasDisabled;
}

BOOL CWnd::IsWindowVisible() const { return S(m_hWnd)->visible; }
BOOL CWnd::IsWindowEnabled() const { return S(m_hWnd)->enabled; }
BOOL CWnd::IsIconic() const { return S(m_hWnd)->iconic; }
void CWnd::GetClientRect(Rect* rect) const { *rect = {0, 0, 430, 338}; }

WindowHandle CWnd::GetDlgItem(int id) const
{
    return reinterpret_cast<WindowHandle>(S(m_hWnd) ? S(m_hWnd)->Child(id) : nullptr);
}

intptr_t CWnd::SendMessage(UINT message, uintptr_t wParam, intptr_t lParam)
{
    SimWindow* window = S(m_hWnd);
    switch (message) {
    case WM_CLOSE:
        // The dialog's default close handling: the Cancel command, posted.
        if (window->dialog)
            window->machine->Post(m_hWnd, 0x0111 /* WM_COMMAND */, IDCANCEL, 0);
        return 0;
    case WM_SETICON:
        (wParam == ICON_BIG ? window->bigIcon : window->smallIcon) = reinterpret_cast<IconHandle>(lParam);
        return 0;
    default:
        return 0;
    }
}

BOOL CWnd::PostMessage(UINT message, uintptr_t wParam, intptr_t lParam)
{
    SimMachine::Of(AfxGetApp()).Post(m_hWnd, message, wParam, lParam);
    return TRUE;
}

int CWnd::MessageBox(const char* text, const char* caption, UINT type)
{
    return SimMachine::Of(AfxGetApp()).ShowMessageBox(m_hWnd, text, caption ? caption : AfxGetApp()->m_strAppName.c_str(),
                                                      type);
}

int CButton::GetCheck() const { return S(m_hWnd)->check; }
void CButton::SetCheck(int state) { S(m_hWnd)->check = state; }

int CComboBox::AddString(const char* text)
{
    S(m_hWnd)->items.push_back(text ? text : "");
    return int(S(m_hWnd)->items.size()) - 1;
}

void CComboBox::ResetContent()
{
    S(m_hWnd)->items.clear();
    S(m_hWnd)->curSel = -1;
}

int CComboBox::GetCount() const { return int(S(m_hWnd)->items.size()); }
int CComboBox::GetCurSel() const { return S(m_hWnd)->curSel; }

int CComboBox::SetCurSel(int index)
{
    SimWindow* combo = S(m_hWnd);
    if (index < 0 || index >= int(combo->items.size())) {
        combo->curSel = -1;
        return CB_ERR;
    }
    combo->curSel = index;
    return index;
}

CString CComboBox::GetLBText(int index) const
{
    SimWindow* combo = S(m_hWnd);
    if (index < 0 || index >= int(combo->items.size()))
        return CString();
    return CString(combo->items[size_t(index)].c_str());
}

int CProgressCtrl::SetPos(int position)
{
    int old = S(m_hWnd)->pos;
    S(m_hWnd)->pos = position;
    return old;
}

int CProgressCtrl::GetPos() const { return S(m_hWnd)->pos; }

int SystemMetric(int index) { return index == SM_CXICON || index == SM_CYICON ? 32 : 0; }

IconHandle CWinApp::LoadIcon(UINT id) const { return reinterpret_cast<IconHandle>(uintptr_t(0x10000 + id)); }

// --- the dialog ---

intptr_t CDialog::DoModal()
{
    SimMachine& machine = SimMachine::Of(AfxGetApp());
    m_bEnded = false;
    m_nResult = -1;
    machine.OpenDialog(*this);
    while (machine.Pump(*this)) {
        if (!machine.onIdle || !machine.onIdle(*this))
            break;  // nobody left to press anything
    }
    return m_nResult;
}

void CDialog::EndDialog(int result)
{
    m_nResult = result;
    m_bEnded = true;
    if (S(m_hWnd))
        S(m_hWnd)->visible = false;
}

BOOL CDialog::PreTranslateMessage(WindowMessage* msg)
{
    // The dialog manager's keyboard handling: Escape cancels, Enter presses
    // the focused push button.
    if (msg->message != WM_KEYDOWN)
        return FALSE;
    SimWindow* target = S(msg->hwnd);
    if (msg->wParam == VK_ESCAPE) {
        SimMachine::Of(AfxGetApp()).Post(m_hWnd, 0x0111, IDCANCEL, 0);
        return TRUE;
    }
    if (msg->wParam == VK_RETURN && target && target->className == "Button") {
        SimMachine::Of(AfxGetApp()).Post(m_hWnd, 0x0111, uintptr_t(target->id), 0);
        return TRUE;
    }
    return FALSE;
}

BrushHandle CDialog::OnCtlColor(CDC*, CWnd*, UINT) { return reinterpret_cast<BrushHandle>(uintptr_t(0xB0B)); }

void CDialog::OnPaint()
{
    if (m_pCurrentEvent)
        m_pCurrentEvent->handled = false;
}
