// Initialisation of the setup dialog: everything set before it is shown.
#include "../env/OsDetection.h"
#include "SetupApp.h"
#include "SetupDlg.h"

namespace {
struct Caption {
    int id;
    const char* english;
};

// English captions of the main page; Korean systems keep the template's.
const Caption kMainPageEnglish[] = {
    {IDC_GROUP_INSTALL, "Printer Driver Install"},
    {IDC_STATIC_OS, "O    S"},
    {IDC_STATIC_MODEL, "Model"},
    {IDC_CHECK_DEFAULT, "Set as a Default Printer"},
    {IDC_CHECK_OPENFOLDER, "Open a Printer folder after installed"},
    {IDOK, "Install"},
    {IDCANCEL, "Exit"},
    {IDC_BUTTON_OPENFOLDER, "Open Printer folder"},
    {IDC_BUTTON_ADVANCED, "Advanced"},
};

// English captions of the advanced page.
const Caption kAdvancedPageEnglish[] = {
    {IDC_GROUP_DISKETTE, "Make Install Diskette"},
    {IDC_STATIC_DISK_OS, "Select  O S"},
    {IDC_STATIC_DRIVE, "Select Drive"},
    {IDC_BUTTON_MAKEDISK, "Make Diskette"},
    {IDC_GROUP_COPY, "Copy Driver File"},
    {IDC_STATIC_COPY_OS, "Select  O S"},
    {IDC_STATIC_FOLDER, "Folder files will be copied to"},
    {IDC_BUTTON_BROWSE, "Browse"},
    {IDC_BUTTON_COPY, "Copy"},
    {IDC_BUTTON_BACK, "Back"},
    {IDC_BUTTON_EXIT2, "Exit"},
};

const char kMsgNoModulePath[] = "Can't find the folder of the setup program.";

const char kTitleEnglish[] = "   Printer Driver Install";
const char kTitleKorean[] = "   프린터 드라이버 설치";

// Items 1 to 8 of both OS lists; each list has its own prompt at index 0.
const char kPromptDiskOS[] = "설치할 OS를 선택하시오";
const char kPromptCopyOS[] = "사용할 OS를 선택하시오";
const char* const kOSItems[] = {
    "===========================",
    "한글 Windows 2000/XP/2003",
    "한글 Windows NT 4.0",
    "한글 Windows 95/98/ME",
    "",
    "영문 Windows 2000/XP/2003",
    "영문 Windows NT 4.0",
    "영문 Windows 95/98/ME",
};

// Packages an install diskette may carry, with the one OS item and section
// left for the copy tool when started from it.
struct DisketteRow {
    const char* fileName;
    const char* item;
    const char* section;
};

const DisketteRow kDisketteTable[] = {
    {"HWin2K.drv", "한글 Windows 2000/XP/2003", "Win2Kh"},
    {"NT40H.drv", "한글 Windows NT 4.0", "WinNTh"},
    {"HWin95.drv", "한글 Windows 95/98/ME", "Win98h"},
    {"Win2K.drv", "영문 Windows 2000/XP/2003", "Win2Ke"},
    {"NT40E.drv", "영문 Windows NT 4.0", "WinNTe"},
    {"Win95.drv", "영문 Windows 95/98/ME", "Win98e"},
};

template <size_t N>
void SetCaptions(CWnd& dialog, const Caption (&captions)[N])
{
    for (const Caption& caption : captions) {
        CWnd control(dialog.GetDlgItem(caption.id));
        control.SetWindowText(caption.english);
    }
}

void FillOSList(CComboBox& combo, const char* prompt)
{
    combo.ResetContent();
    combo.AddString(prompt);
    for (const char* item : kOSItems)
        combo.AddString(item);
    combo.SetCurSel(0);
}
}  // namespace

CString CSetupDlg::TrimToFolder(CString path)
{
    for (int i = path.GetLength() - 1; i >= 1; --i)
        if (path.GetAt(i) == '\\')
            return path.Left(i);
    return CString();
}

BOOL CSetupDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<intptr_t>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<intptr_t>(m_hIcon));

    DetectOSAndLanguage(&m_nOSCode, &m_nLanguage);

    // Without its own path the program cannot find its configuration; say
    // so rather than read files beside nothing.
    if (!AfxGetApp()->m_pPlatform->system->GetModuleFileName(&m_strModuleDir))
        AfxMessageBox(kMsgNoModulePath, MB_OK);
    m_strModuleDir = TrimToFolder(m_strModuleDir);
    m_pApp = static_cast<CSetupApp*>(AfxGetApp());

    TranslateOSCode();
    if (m_nLanguage == kLanguageEnglish)
        SetCaptions(*this, kMainPageEnglish);

    m_strSetupIni = m_strModuleDir + "\\SETUP.INI";
    m_strMakeDiskIni = m_strModuleDir + "\\MakeDisk.INI";
    SelectProfile(m_strSetupIni);

    bool english = m_nLanguage == kLanguageEnglish;
    m_strModelName = m_pApp->GetProfileString("MODEL", english ? "EnglishModelName" : "ModelName");
    AfxGetMainWnd()->SetWindowText(m_strModelName + (english ? kTitleEnglish : kTitleKorean));
    m_editModel.SetWindowText(m_strModelName);

    m_checkDefault.SetCheck(BST_CHECKED);
    m_checkOpenFolder.SetCheck(BST_CHECKED);

    if (english)
        SetCaptions(*this, kAdvancedPageEnglish);

    FillCombos();
    DetectDisketteMode();
    return TRUE;
}

void CSetupDlg::FillCombos()
{
    FillOSList(m_comboDiskOS, kPromptDiskOS);
    FillOSList(m_comboCopyOS, kPromptCopyOS);

    SystemInfo* system = AfxGetApp()->m_pPlatform->system;
    m_comboDrive.ResetContent();
    if (system->GetDriveType("a:\\") == DRIVE_REMOVABLE)
        m_comboDrive.AddString("  Drive A:");
    if (system->GetDriveType("b:\\") == DRIVE_REMOVABLE)
        m_comboDrive.AddString("  Drive B:");
    m_comboDrive.SetCurSel(0);
}

void CSetupDlg::DetectDisketteMode()
{
    // The full medium carries MakeDisk.INI; an install diskette does not.
    if (AfxGetApp()->m_pPlatform->files->CanOpenForReading("MakeDisk.INI")) {
        m_bFromDiskette = FALSE;
        return;
    }
    m_strPackageFile = m_pApp->GetProfileString("OSforInstallDiskette", "FileName");
    for (const DisketteRow& row : kDisketteTable) {
        if (m_strPackageFile == row.fileName) {
            m_comboCopyOS.ResetContent();
            m_comboCopyOS.AddString(row.item);
            m_comboCopyOS.SetCurSel(0);
            m_strOSSection = row.section;
            break;
        }
    }
    m_bFromDiskette = TRUE;
}
