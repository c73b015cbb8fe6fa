// The setup dialog: the one window of the program and the owner of all the
// state its handlers share.
#pragma once

#include "../platform/framework/Dialog.h"
#include "../res/resource.h"

class CSetupApp;

class CSetupDlg : public CDialog {
public:
    explicit CSetupDlg(CWnd* parent = nullptr);

    enum { IDD = IDD_SETUP_DIALOG };

    // Shared state, in the order every handler knows it.
    CSetupApp* m_pApp;
    BOOL m_bFromDiskette;
    int m_nOSCode;
    int m_nLanguage;
    int m_nOSClass;
    CString m_strModuleDir;
    CString m_strModelName;
    CString m_strSetupIni;
    CString m_strMakeDiskIni;
    CString m_strOSSection;
    CString m_strTargetFolder;
    CString m_strPackageFile;

    // Controls, bound to the template by DoDataExchange.
    CComboBox m_comboCopyOS;      // IDC_COMBO_COPY_OS
    CStatic m_staticCopyOS;       // IDC_STATIC_COPY_OS
    CStatic m_staticDiskOS;       // IDC_STATIC_DISK_OS
    CStatic m_staticDrive;        // IDC_STATIC_DRIVE
    CEdit m_editFolder;           // IDC_EDIT_FOLDER
    CComboBox m_comboDiskOS;      // IDC_COMBO_DISK_OS
    CComboBox m_comboDrive;       // IDC_COMBO_DRIVE
    CButton m_groupInstall;       // IDC_GROUP_INSTALL
    CButton m_groupDiskette;      // IDC_GROUP_DISKETTE
    CButton m_groupCopy;          // IDC_GROUP_COPY
    CStatic m_staticFolder;       // IDC_STATIC_FOLDER
    CProgressCtrl m_progress;     // IDC_PROGRESS
    CEdit m_editModel;            // IDC_EDIT_MODEL
    CButton m_checkDefault;       // IDC_CHECK_DEFAULT
    CButton m_checkOpenFolder;    // IDC_CHECK_OPENFOLDER
    CStatic m_staticModel;        // IDC_STATIC_MODEL
    CStatic m_staticOS;           // IDC_STATIC_OS
    CEdit m_editOS;               // IDC_EDIT_OS
    CButton m_buttonInstall;      // IDOK
    CButton m_buttonExit;         // IDCANCEL
    CButton m_buttonOpenFolder;   // IDC_BUTTON_OPENFOLDER
    CButton m_buttonAdvanced;     // IDC_BUTTON_ADVANCED
    CButton m_buttonBrowse;       // IDC_BUTTON_BROWSE
    CButton m_buttonExit2;        // IDC_BUTTON_EXIT2
    CButton m_buttonMakeDisk;     // IDC_BUTTON_MAKEDISK
    CButton m_buttonCopy;         // IDC_BUTTON_COPY
    CButton m_buttonBack;         // IDC_BUTTON_BACK

    IconHandle m_hIcon;

    // Initialisation.
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL PreTranslateMessage(WindowMessage* msg) override;
    BOOL OnInitDialog() override;
    void OnEvent(DialogEvent& event) override;

    // Detects the running system and its language; rejects what is not
    // served with a message and a close request.
    void DetectOSAndLanguage(int* pOSCode, int* pLanguage);
    // Makes the given INI file the one the profile functions act on.
    void SelectProfile(const char* path);
    // The text before the last backslash (found at index 1 or later).
    static CString TrimToFolder(CString path);

    // Handlers of the message map.
    void OnPaint();
    IconHandle OnQueryDragIcon();
    void OnButtonOpenFolder();
    void InstallPrinter();
    BrushHandle OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    void OnButtonAdvanced();
    void OnButtonBack();
    void OnButtonExit2();
    void OnSelchangeComboDiskOS();
    void OnButtonMakeDisk();
    void OnButtonBrowse();
    void OnButtonCopy();
    void OnSelchangeComboCopyOS();

private:
    void TranslateOSCode();
    void FillCombos();
    void DetectDisketteMode();
    void ResetSeparatorSelection(CComboBox& combo);

    static const MessageMapEntry<CSetupDlg> s_messageMap[13];
};
