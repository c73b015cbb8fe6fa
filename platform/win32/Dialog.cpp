#include "Win32.h"

#include "../framework/Dialog.h"
#include "../framework/WinApp.h"

// The one window procedure of every dialog: finds the dialog object kept on
// the window and unpacks each message into a typed event for its map.
class DialogRouter {
public:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_INITDIALOG) {
            CDialog* dialog = reinterpret_cast<CDialog*>(lParam);
            ::SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
            dialog->m_hWnd = W(hwnd);
            return dialog->OnInitDialog();
        }
        CDialog* dialog = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(hwnd, DWLP_USER));
        if (!dialog)
            return FALSE;

        DialogEvent event = {};
        event.message = message;
        CDC dc(reinterpret_cast<DcHandle>(wParam));
        CWnd control(W(reinterpret_cast<HWND>(lParam)));
        switch (message) {
        case WM_COMMAND:
            event.kind = EventKind::Command;
            event.id = LOWORD(wParam);
            event.code = HIWORD(wParam);
            break;
        case WM_PAINT:
            event.kind = EventKind::Paint;
            break;
        case WM_QUERYDRAGICON:
            event.kind = EventKind::QueryDragIcon;
            break;
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
            event.kind = EventKind::CtlColor;
            event.dc = &dc;
            event.control = &control;
            event.ctlType = message - WM_CTLCOLORMSGBOX;
            break;
        case WM_NCDESTROY:
            ::SetWindowLongPtrA(hwnd, DWLP_USER, 0);
            dialog->m_hWnd = nullptr;
            return FALSE;
        default:
            return FALSE;
        }

        DialogEvent* outer = dialog->m_pCurrentEvent;
        dialog->m_pCurrentEvent = &event;
        dialog->OnEvent(event);
        dialog->m_pCurrentEvent = outer;
        if (!event.handled)
            return FALSE;
        // Colour and drag-icon answers go back as the procedure's result.
        return event.kind == EventKind::Command || event.kind == EventKind::Paint ? TRUE : event.result;
    }
};

intptr_t CDialog::DoModal()
{
    CWinApp* app = AfxGetApp();
    HWND parent = m_pParentWnd ? H(m_pParentWnd->m_hWnd) : nullptr;
    m_bEnded = false;
    m_nResult = -1;
    HWND hwnd = ::CreateDialogParamA(reinterpret_cast<HINSTANCE>(app->m_hInstance),
                                     MAKEINTRESOURCEA(m_nIDTemplate), parent, DialogRouter::DialogProc,
                                     reinterpret_cast<LPARAM>(this));
    if (!hwnd)
        return -1;

    // The modal loop: every queued message passes PreTranslateMessage first.
    MSG msg;
    while (!m_bEnded && ::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        WindowMessage message = {W(msg.hwnd), msg.message, msg.wParam, msg.lParam};
        if (!PreTranslateMessage(&message)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    if (::IsWindow(hwnd))
        ::DestroyWindow(hwnd);
    return m_nResult;
}

void CDialog::EndDialog(int result)
{
    m_nResult = result;
    m_bEnded = true;
    ::ShowWindow(H(m_hWnd), SW_HIDE);
}

BOOL CDialog::PreTranslateMessage(WindowMessage* msg)
{
    MSG raw = {H(msg->hwnd), msg->message, msg->wParam, msg->lParam, 0, {0, 0}};
    return ::IsDialogMessageA(H(m_hWnd), &raw);
}

BrushHandle CDialog::OnCtlColor(CDC* dc, CWnd* control, UINT)
{
    // The system's own colours for the control, as a dialog without a
    // handler would get them.
    return reinterpret_cast<BrushHandle>(::DefWindowProcA(H(m_hWnd), m_pCurrentEvent->message,
                                                          reinterpret_cast<WPARAM>(dc->m_hDC),
                                                          reinterpret_cast<LPARAM>(control->m_hWnd)));
}

void CDialog::OnPaint() { m_pCurrentEvent->handled = false; }
