// Start-up on every kind of system: what the user sees before the dialog
// and whether it stays open.
#include "SetupFixture.h"

#include "env/OsDetection.h"

namespace {

const char kOs[] = "Not supported OS version";
const char kLang[] = "Not supported language system";

struct StartupCase {
    const char* name;
    OsVersionInfo version;
    uint16_t langId;
    std::vector<std::string> boxes;  // texts, in the order shown
    const char* osField;
    int osClass;
    bool staysOpen;
};

class Startup : public SetupFixture {};

TEST_F(Startup, MessagesOsFieldAndCloseOnEverySystem)
{
    const StartupCase cases[] = {
        {"Korean XP", Version(2, 5, 1), kLangKorean, {}, "Windows XP", 152, true},
        {"English 98SE", Version(1, 4, 10, " A "), kLangEnglishUS, {}, "Windows 98SE", 150, true},
        {"English UK NT4", Version(2, 4, 0), kLangEnglishUK, {}, "Windows NT 4.0", 151, true},
        {"Korean NT 3.51", Version(2, 3, 51), kLangKorean, {kOs}, kOs, 0, false},
        {"English Win32s", Version(0, 3, 10), kLangEnglishUS, {kOs}, kOs, 0, false},
        {"Japanese 2000", Version(2, 5, 0), kLangJapanese, {kLang}, "Windows 2000", 152, false},
        {"Japanese NT 3.51: both, OS first", Version(2, 3, 51), kLangJapanese, {kOs, kLang}, kOs, 0, false},
        {"Korean Windows 7: no rule, no message", Version(2, 6, 1), kLangKorean, {}, "", 0, true},
        {"English 5.3", Version(2, 5, 3), kLangEnglishUS, {}, "", 0, true},
        {"Japanese Windows 7", Version(2, 6, 1), kLangJapanese, {kLang}, "", 0, false},
    };
    for (const StartupCase& c : cases) {
        SCOPED_TRACE(c.name);
        SimMachine& m = machine;
        m.messageBoxes.clear();
        m.version = c.version;
        m.langId = c.langId;
        CSetupDlg& d = Start();

        EXPECT_EQ(BoxTexts(), c.boxes);
        for (const MessageBoxRecord& box : m.messageBoxes) {
            EXPECT_EQ(box.caption, "Install");  // the application's name
            EXPECT_EQ(box.type, UINT(MB_OK));   // no icon
            EXPECT_EQ(box.owner, d.m_hWnd);
        }
        EXPECT_EQ(Text(IDC_EDIT_OS), c.osField);
        EXPECT_EQ(d.m_nOSClass, c.osClass);
        // A close request does not cut initialisation short.
        EXPECT_EQ(Items(IDC_COMBO_DISK_OS).size(), 9u);
        EXPECT_EQ(StillOpen(), c.staysOpen);
        if (!c.staysOpen)
            EXPECT_EQ(d.Result(), IDCANCEL);
    }
}

TEST_F(Startup, FailingVersionQueryCountsAsUnsupported)
{
    machine.versionQueryFails = true;
    CSetupDlg& d = Start();
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{kOs});
    EXPECT_EQ(d.m_nOSCode, 11);
    EXPECT_EQ(Text(IDC_EDIT_OS), kOs);
    EXPECT_FALSE(StillOpen());
}

TEST_F(Startup, SystemWithoutARuleGetsCodesOutsideEveryTable)
{
    machine.version = Version(2, 6, 0);
    CSetupDlg& d = Start();
    EXPECT_EQ(OsLabel(d.m_nOSCode), nullptr);
    EXPECT_NE(d.m_nOSClass, 150);
    EXPECT_NE(d.m_nOSClass, 151);
    EXPECT_NE(d.m_nOSClass, 152);
    EXPECT_EQ(d.m_nLanguage, 18);
}

TEST_F(Startup, UnsupportedLanguageKeepsTheKoreanCaptions)
{
    machine.langId = kLangJapanese;
    Start();
    EXPECT_EQ(Text(IDOK), "설     치");
    EXPECT_EQ(Text(IDC_GROUP_INSTALL), "프린터 드라이버 설치");
    EXPECT_EQ(Caption(), "   프린터 드라이버 설치");
}

TEST_F(Startup, MessageCaptionIsTheExecutablesNameAsStored)
{
    const struct {
        const char* path;
        const char* caption;
    } cases[] = {
        {"D:\\DRIVER\\SetupKit.exe", "SetupKit"},
        {"D:\\DRIVER\\INSTALL.EXE", "INSTALL"},
        {"A:\\my.setup.v2.exe", "my.setup.v2"},
        {"C:\\Program Files\\Driver Kit\\Install", "Install"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        machine.messageBoxes.clear();
        machine.modulePath = c.path;
        machine.langId = kLangJapanese;
        Start();
        ASSERT_EQ(machine.messageBoxes.size(), 1u);
        EXPECT_EQ(machine.messageBoxes[0].caption, c.caption);
    }
}

TEST_F(Startup, ApplicationRunsTheDialogAndEndsWhenItCloses)
{
    // The whole run through InitInstance: an unsupported system closes the
    // dialog by itself, so DoModal returns and InitInstance gives FALSE.
    app.m_pPlatform = &machine;
    app.SetModulePath(machine.modulePath.c_str());
    machine.version = Version(2, 3, 51);
    int idleCalls = 0;
    machine.onIdle = [&](CDialog&) { return ++idleCalls < 5; };
    EXPECT_EQ(app.InitInstance(), FALSE);
    EXPECT_EQ(idleCalls, 0);  // closed before waiting for the user
    EXPECT_EQ(app.m_pMainWnd, nullptr);
}

TEST_F(Startup, WindowIconsAreTheApplicationIcon)
{
    CSetupDlg& d = Start();
    SimWindow* window = machine.Window(d.m_hWnd);
    EXPECT_NE(d.m_hIcon, nullptr);
    EXPECT_EQ(window->bigIcon, d.m_hIcon);
    EXPECT_EQ(window->smallIcon, d.m_hIcon);
}

TEST_F(Startup, TrimToFolderKeepsTextBeforeTheLastBackslash)
{
    const struct {
        const char* path;
        const char* folder;
    } cases[] = {
        {"D:\\DRIVER\\Install.exe", "D:\\DRIVER"},
        {"A:\\Install.exe", "A:"},
        {"\\Install.exe", ""},  // a backslash at index 0 is not found
        {"Install.exe", ""},
        {"", ""},
        {"C:\\a\\b\\", "C:\\a\\b"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(std::string(CSetupDlg::TrimToFolder(c.path)), c.folder) << c.path;
}

}  // namespace
