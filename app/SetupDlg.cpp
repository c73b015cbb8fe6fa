// The setup dialog: construction, control binding and the routing of user
// input (message map, Enter-key filter, small handlers).
#include "SetupDlg.h"

#include "SetupApp.h"

namespace {
// Text colour of the three group boxes: a strong blue.
const COLORREF kGroupTextColour = RGB(96, 84, 253);

// Indexes of the two separator items of the OS combo boxes.
const int kSeparatorLine = 1;
const int kSeparatorEmpty = 5;
}

CSetupDlg::CSetupDlg(CWnd* parent)
    : CDialog(IDD, parent),
      m_pApp(nullptr),
      m_bFromDiskette(FALSE),
      m_nOSCode(0),  // outside every table until detection finds a rule
      m_nLanguage(0),
      m_nOSClass(0),
      m_hIcon(AfxGetApp()->LoadIcon(IDR_MAINFRAME))
{
}

void CSetupDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_COMBO_COPY_OS, m_comboCopyOS);
    DDX_Control(pDX, IDC_STATIC_COPY_OS, m_staticCopyOS);
    DDX_Control(pDX, IDC_STATIC_DISK_OS, m_staticDiskOS);
    DDX_Control(pDX, IDC_STATIC_DRIVE, m_staticDrive);
    DDX_Control(pDX, IDC_EDIT_FOLDER, m_editFolder);
    DDX_Control(pDX, IDC_COMBO_DISK_OS, m_comboDiskOS);
    DDX_Control(pDX, IDC_COMBO_DRIVE, m_comboDrive);
    DDX_Control(pDX, IDC_GROUP_INSTALL, m_groupInstall);
    DDX_Control(pDX, IDC_GROUP_DISKETTE, m_groupDiskette);
    DDX_Control(pDX, IDC_GROUP_COPY, m_groupCopy);
    DDX_Control(pDX, IDC_STATIC_FOLDER, m_staticFolder);
    DDX_Control(pDX, IDC_PROGRESS, m_progress);
    DDX_Control(pDX, IDC_EDIT_MODEL, m_editModel);
    DDX_Control(pDX, IDC_CHECK_DEFAULT, m_checkDefault);
    DDX_Control(pDX, IDC_CHECK_OPENFOLDER, m_checkOpenFolder);
    DDX_Control(pDX, IDC_STATIC_MODEL, m_staticModel);
    DDX_Control(pDX, IDC_STATIC_OS, m_staticOS);
    DDX_Control(pDX, IDC_EDIT_OS, m_editOS);
    DDX_Control(pDX, IDOK, m_buttonInstall);
    DDX_Control(pDX, IDCANCEL, m_buttonExit);
    DDX_Control(pDX, IDC_BUTTON_OPENFOLDER, m_buttonOpenFolder);
    DDX_Control(pDX, IDC_BUTTON_ADVANCED, m_buttonAdvanced);
    DDX_Control(pDX, IDC_BUTTON_BROWSE, m_buttonBrowse);
    DDX_Control(pDX, IDC_BUTTON_EXIT2, m_buttonExit2);
    DDX_Control(pDX, IDC_BUTTON_MAKEDISK, m_buttonMakeDisk);
    DDX_Control(pDX, IDC_BUTTON_COPY, m_buttonCopy);
    DDX_Control(pDX, IDC_BUTTON_BACK, m_buttonBack);
}

const MessageMapEntry<CSetupDlg> CSetupDlg::s_messageMap[13] = {
    OnPaintEntry(&CSetupDlg::OnPaint),
    OnQueryDragIconEntry(&CSetupDlg::OnQueryDragIcon),
    OnCommandEntry(BN_CLICKED, IDC_BUTTON_OPENFOLDER, &CSetupDlg::OnButtonOpenFolder),
    OnCommandEntry(BN_CLICKED, IDOK, &CSetupDlg::InstallPrinter),
    OnCtlColorEntry(&CSetupDlg::OnCtlColor),
    OnCommandEntry(BN_CLICKED, IDC_BUTTON_ADVANCED, &CSetupDlg::OnButtonAdvanced),
    OnCommandEntry(BN_CLICKED, IDC_BUTTON_BACK, &CSetupDlg::OnButtonBack),
    OnCommandEntry(BN_CLICKED, IDC_BUTTON_EXIT2, &CSetupDlg::OnButtonExit2),
    OnCommandEntry(CBN_SELCHANGE, IDC_COMBO_DISK_OS, &CSetupDlg::OnSelchangeComboDiskOS),
    OnCommandEntry(BN_CLICKED, IDC_BUTTON_MAKEDISK, &CSetupDlg::OnButtonMakeDisk),
    OnCommandEntry(BN_CLICKED, IDC_BUTTON_BROWSE, &CSetupDlg::OnButtonBrowse),
    OnCommandEntry(BN_CLICKED, IDC_BUTTON_COPY, &CSetupDlg::OnButtonCopy),
    OnCommandEntry(CBN_SELCHANGE, IDC_COMBO_COPY_OS, &CSetupDlg::OnSelchangeComboCopyOS),
};

void CSetupDlg::OnEvent(DialogEvent& event)
{
    if (!DispatchMessageMap(this, s_messageMap, event))
        CDialog::OnEvent(event);
}

BOOL CSetupDlg::PreTranslateMessage(WindowMessage* msg)
{
    // Enter on four controls has a meaning of its own; the dialog manager
    // does not see those key presses, the control still gets them.
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) {
        if (msg->hwnd == GetDlgItem(IDC_EDIT_FOLDER)) {
            OnButtonCopy();
            return FALSE;
        }
        if (msg->hwnd == GetDlgItem(IDCANCEL)) {
            SendMessage(WM_CLOSE, 0, 0);
            return FALSE;
        }
        if (msg->hwnd == GetDlgItem(IDC_BUTTON_OPENFOLDER)) {
            OnButtonOpenFolder();
            return FALSE;
        }
        if (msg->hwnd == GetDlgItem(IDC_BUTTON_ADVANCED)) {
            OnButtonAdvanced();
            return FALSE;
        }
    }
    return CDialog::PreTranslateMessage(msg);
}

void CSetupDlg::OnPaint()
{
    if (!IsIconic()) {
        CDialog::OnPaint();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<uintptr_t>(dc.m_hDC), 0);
    int cxIcon = SystemMetric(SM_CXICON);
    int cyIcon = SystemMetric(SM_CYICON);
    Rect rect;
    GetClientRect(&rect);
    int x = (rect.Width() - cxIcon + 1) / 2;
    int y = (rect.Height() - cyIcon + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
}

IconHandle CSetupDlg::OnQueryDragIcon() { return m_hIcon; }

BrushHandle CSetupDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    BrushHandle brush = CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    if (pWnd->GetSafeHwnd() == GetDlgItem(IDC_GROUP_INSTALL))
        pDC->SetTextColor(kGroupTextColour);
    if (pWnd->GetSafeHwnd() == GetDlgItem(IDC_GROUP_DISKETTE))
        pDC->SetTextColor(kGroupTextColour);
    if (pWnd->GetSafeHwnd() == GetDlgItem(IDC_GROUP_COPY))
        pDC->SetTextColor(kGroupTextColour);
    return brush;
}

void CSetupDlg::OnButtonOpenFolder() { AfxGetApp()->m_pPlatform->processes->WinExec("control.exe printers", SW_SHOW); }

void CSetupDlg::OnButtonExit2() { SendMessage(WM_CLOSE, 0, 0); }

void CSetupDlg::ResetSeparatorSelection(CComboBox& combo)
{
    int selection = combo.GetCurSel();
    if (selection == kSeparatorLine || selection == kSeparatorEmpty)
        combo.SetCurSel(0);
}

void CSetupDlg::OnSelchangeComboDiskOS() { ResetSeparatorSelection(m_comboDiskOS); }

void CSetupDlg::OnSelchangeComboCopyOS() { ResetSeparatorSelection(m_comboCopyOS); }
