// What the dialog shows and knows once initialised, on the medium and on an
// install diskette, in both languages.
#include "SetupFixture.h"

namespace {

const char kSetupIni[] =
    "[MODEL]\r\nModelName=데모 레이저 5100\r\nEnglishModelName=Demo Laser 5100\r\n"
    "[OSforInstallDiskette]\r\nFileName=Win2K.drv\r\n";
const char kMakeDiskIni[] = "[MODEL]\r\nModelName=디스크 키트\r\nEnglishModelName=Disk Kit\r\n";

const std::vector<std::string> kOsItemsAfterPrompt = {
    "===========================", "한글 Windows 2000/XP/2003", "한글 Windows NT 4.0", "한글 Windows 95/98/ME", "",
    "영문 Windows 2000/XP/2003",   "영문 Windows NT 4.0",       "영문 Windows 95/98/ME",
};

std::vector<std::string> WithPrompt(const char* prompt)
{
    std::vector<std::string> items = {prompt};
    items.insert(items.end(), kOsItemsAfterPrompt.begin(), kOsItemsAfterPrompt.end());
    return items;
}

class Initialisation : public SetupFixture {
protected:
    void OnMedium(bool withMakeDisk = true)
    {
        machine.WriteFile("D:\\DRIVER\\SETUP.INI", kSetupIni);
        if (withMakeDisk)
            machine.WriteFile("D:\\DRIVER\\MakeDisk.INI", kMakeDiskIni);
    }
};

TEST_F(Initialisation, EnglishSystemGetsEveryEnglishCaption)
{
    OnMedium();
    machine.langId = kLangEnglishUS;
    Start();
    const std::pair<int, const char*> captions[] = {
        {IDC_GROUP_INSTALL, "Printer Driver Install"},
        {IDC_STATIC_OS, "O    S"},
        {IDC_STATIC_MODEL, "Model"},
        {IDC_CHECK_DEFAULT, "Set as a Default Printer"},
        {IDC_CHECK_OPENFOLDER, "Open a Printer folder after installed"},
        {IDOK, "Install"},
        {IDCANCEL, "Exit"},
        {IDC_BUTTON_OPENFOLDER, "Open Printer folder"},
        {IDC_BUTTON_ADVANCED, "Advanced"},
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
    for (const auto& c : captions)
        EXPECT_EQ(Text(c.first), c.second) << c.first;
    EXPECT_EQ(Caption(), "Demo Laser 5100   Printer Driver Install");
    EXPECT_EQ(Text(IDC_EDIT_MODEL), "Demo Laser 5100");
    // The OS lists carry Korean words on every system.
    EXPECT_EQ(Items(IDC_COMBO_DISK_OS), WithPrompt("설치할 OS를 선택하시오"));
}

TEST_F(Initialisation, KoreanSystemKeepsTheTemplateCaptions)
{
    OnMedium();
    Start();
    EXPECT_EQ(Text(IDOK), "설     치");
    EXPECT_EQ(Text(IDC_STATIC_FOLDER), "파일을 복사할 폴더");
    EXPECT_EQ(Text(IDC_BUTTON_COPY), "복    사");
    EXPECT_EQ(Caption(), "데모 레이저 5100   프린터 드라이버 설치");
    EXPECT_EQ(Text(IDC_EDIT_MODEL), "데모 레이저 5100");
}

TEST_F(Initialisation, MainPageShownWithBothBoxesTickedAndListsFilled)
{
    OnMedium();
    CSetupDlg& d = Start();
    EXPECT_EQ(d.m_checkDefault.GetCheck(), BST_CHECKED);
    EXPECT_EQ(d.m_checkOpenFolder.GetCheck(), BST_CHECKED);
    EXPECT_EQ(Items(IDC_COMBO_DISK_OS), WithPrompt("설치할 OS를 선택하시오"));
    EXPECT_EQ(Items(IDC_COMBO_COPY_OS), WithPrompt("사용할 OS를 선택하시오"));
    EXPECT_EQ(machine.Control(d, IDC_COMBO_DISK_OS)->curSel, 0);
    EXPECT_EQ(machine.Control(d, IDC_COMBO_COPY_OS)->curSel, 0);
    EXPECT_TRUE(Visible(IDOK));
    EXPECT_FALSE(Visible(IDC_BUTTON_BACK));
    EXPECT_FALSE(Visible(IDC_PROGRESS));
    EXPECT_EQ(d.m_strModuleDir, "D:\\DRIVER");
    EXPECT_EQ(d.m_strSetupIni, "D:\\DRIVER\\SETUP.INI");
    EXPECT_EQ(d.m_strMakeDiskIni, "D:\\DRIVER\\MakeDisk.INI");
    EXPECT_EQ(app.m_strProfileName, "D:\\DRIVER\\SETUP.INI");
    EXPECT_EQ(d.m_pApp, &app);
    EXPECT_FALSE(d.m_bFromDiskette);
    EXPECT_TRUE(d.m_strOSSection.IsEmpty());
}

TEST_F(Initialisation, DriveListHoldsTheRemovableDrivesAAndB)
{
    const struct {
        const char* name;
        UINT a, b;
        std::vector<std::string> items;
        int selection;
    } cases[] = {
        {"both", DRIVE_REMOVABLE, DRIVE_REMOVABLE, {"  Drive A:", "  Drive B:"}, 0},
        {"only A", DRIVE_REMOVABLE, DRIVE_NO_ROOT_DIR, {"  Drive A:"}, 0},
        {"only B", DRIVE_NO_ROOT_DIR, DRIVE_REMOVABLE, {"  Drive B:"}, 0},
        {"A a hard disk", DRIVE_FIXED, DRIVE_REMOVABLE, {"  Drive B:"}, 0},
        {"none", DRIVE_CDROM, DRIVE_NO_ROOT_DIR, {}, -1},
    };
    OnMedium();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        machine.driveTypes['A'] = c.a;
        machine.driveTypes['B'] = c.b;
        Start();
        EXPECT_EQ(Items(IDC_COMBO_DRIVE), c.items);
        EXPECT_EQ(machine.Control(*dlg, IDC_COMBO_DRIVE)->curSel, c.selection);
    }
}

TEST_F(Initialisation, DisketteModeRecognisesEachPackageByItsExactName)
{
    const struct {
        const char* fileName;
        const char* item;  // nullptr: the nine items stay
        const char* section;
    } cases[] = {
        {"HWin2K.drv", "한글 Windows 2000/XP/2003", "Win2Kh"},
        {"NT40H.drv", "한글 Windows NT 4.0", "WinNTh"},
        {"HWin95.drv", "한글 Windows 95/98/ME", "Win98h"},
        {"Win2K.drv", "영문 Windows 2000/XP/2003", "Win2Ke"},
        {"NT40E.drv", "영문 Windows NT 4.0", "WinNTe"},
        {"Win95.drv", "영문 Windows 95/98/ME", "Win98e"},
        {"win2k.drv", nullptr, ""},  // letter case differs: not recognised
        {"Win2K.drv  ", "영문 Windows 2000/XP/2003", "Win2Ke"},  // the INI rules trim blanks
        {"", nullptr, ""},
        {"Other.drv", nullptr, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fileName);
        machine.MapDrive('A', HostRoot() + "/a");
        machine.WriteFile("A:\\SETUP.INI", std::string("[MODEL]\nModelName=X\n[OSforInstallDiskette]\nFileName=") +
                                               c.fileName + "\n");
        machine.modulePath = "A:\\Install.exe";
        machine.currentDirectory = "A:\\";
        CSetupDlg& d = Start();
        EXPECT_TRUE(d.m_bFromDiskette);
        EXPECT_EQ(d.m_strModuleDir, "A:");
        if (c.item) {
            EXPECT_EQ(Items(IDC_COMBO_COPY_OS), std::vector<std::string>{c.item});
            EXPECT_EQ(machine.Control(d, IDC_COMBO_COPY_OS)->curSel, 0);
        } else {
            EXPECT_EQ(Items(IDC_COMBO_COPY_OS), WithPrompt("사용할 OS를 선택하시오"));
        }
        EXPECT_EQ(d.m_strOSSection, c.section);
        EXPECT_EQ(d.m_strPackageFile, std::string(c.fileName) == "Win2K.drv  " ? "Win2K.drv" : c.fileName);
    }
}

TEST_F(Initialisation, MakeDiskProbeLooksInTheCurrentDirectoryNotTheModuleFolder)
{
    OnMedium();
    machine.currentDirectory = "C:\\";  // started from a shortcut elsewhere
    CSetupDlg& d = Start();
    EXPECT_TRUE(d.m_bFromDiskette);
    EXPECT_EQ(Items(IDC_COMBO_COPY_OS), std::vector<std::string>{"영문 Windows 2000/XP/2003"});
    // The profile still is the SETUP.INI beside the program.
    EXPECT_EQ(Text(IDC_EDIT_MODEL), "데모 레이저 5100");

    machine.WriteFile("C:\\makedisk.ini", "");  // found without regard to case
    EXPECT_FALSE(Start().m_bFromDiskette);
}

TEST_F(Initialisation, WithoutAnyIniTheProgramStillStartsInDisketteMode)
{
    CSetupDlg& d = Start();
    EXPECT_TRUE(d.m_bFromDiskette);
    EXPECT_EQ(Text(IDC_EDIT_MODEL), "");
    EXPECT_EQ(Caption(), "   프린터 드라이버 설치");
    EXPECT_TRUE(d.m_strOSSection.IsEmpty());
    EXPECT_EQ(Items(IDC_COMBO_COPY_OS).size(), 9u);
    EXPECT_TRUE(StillOpen());
}

TEST_F(Initialisation, SelectProfileSwitchesTheFileEveryProfileCallUses)
{
    OnMedium();
    CSetupDlg& d = Start();
    d.SelectProfile(d.m_strMakeDiskIni);
    EXPECT_EQ(std::string(app.GetProfileString("MODEL", "ModelName")), "디스크 키트");
    app.WriteProfileString("OSforInstallDiskette", "FileName", "NT40E.drv");
    d.SelectProfile(d.m_strSetupIni);
    EXPECT_EQ(std::string(app.GetProfileString("MODEL", "ModelName")), "데모 레이저 5100");
    EXPECT_EQ(std::string(app.GetProfileString("OSforInstallDiskette", "FileName")), "Win2K.drv");
    EXPECT_EQ(app.GetProfileInt("Win2Kh", "DepCount", 7), 7u);
    // The write went to the file that was active, and only there.
    EXPECT_NE(machine.ReadFile("D:\\DRIVER\\MakeDisk.INI").find("FileName=NT40E.drv"), std::string::npos);

    // A path of any length is kept whole.
    std::string deep = "D:";
    for (int i = 0; i < 4; ++i)
        deep += "\\" + std::string(100, char('a' + i));
    deep += "\\SETUP.INI";
    machine.WriteFile(deep, "[MODEL]\nModelName=deep\n");
    d.SelectProfile(deep.c_str());
    EXPECT_EQ(std::string(app.GetProfileString("MODEL", "ModelName")), "deep");
}

TEST_F(Initialisation, MissingModelSectionLeavesTheTitleAlone)
{
    machine.WriteFile("D:\\DRIVER\\SETUP.INI", "[Win2Kh]\nCopyInstallFile=HWin2K.drv\n");
    machine.WriteFile("D:\\DRIVER\\MakeDisk.INI", kMakeDiskIni);
    machine.langId = kLangEnglishUK;
    Start();
    EXPECT_EQ(Text(IDC_EDIT_MODEL), "");
    EXPECT_EQ(Caption(), "   Printer Driver Install");
}

}  // namespace
