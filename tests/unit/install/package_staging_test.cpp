// Staging a driver package on the simulated machine: the section the
// install uses, the staged name, and a run that ends before anyone reads the
// unpack folder.
#include "SetupFixture.h"

#include "env/OsDetection.h"
#include "install/PackageStaging.h"
#include "pkgwriter.h"

namespace {

TEST(InstallSection, ByLanguageAndOsClass)
{
    const struct {
        int language, osClass;
        const char* section;
        int version;
    } cases[] = {
        {18, 150, "Win98h", 0}, {18, 151, "WinNTh", 2}, {18, 152, "Win2Kh", 3},
        {9, 150, "Win98e", 0},  {9, 151, "WinNTe", 2},  {9, 152, "Win2Ke", 3},
        {17, 152, "Win2Ke", 3},  // any other language takes the English sections
        {18, 0, "", -1},         {9, 153, "", -1},
    };
    for (const auto& c : cases) {
        InstallSection s = SelectInstallSection(c.language, c.osClass);
        EXPECT_STREQ(s.name, c.section) << c.language << "/" << c.osClass;
        EXPECT_EQ(s.driverVersion, c.version) << c.language << "/" << c.osClass;
    }
}

TEST(TrimExtension, CutsAtTheLastDotFromIndexOne)
{
    const struct {
        const char* path;
        const char* trimmed;
    } cases[] = {
        {"HWin2K.drv", "HWin2K"},
        {"a.b.c.drv", "a.b.c"},
        {".drv", ""},             // a dot only at index 0
        {"NoDot", ""},
        {"", ""},
        {"pkg.v2\\HWin2K", "pkg"}, // the scan does not stop at a backslash
        {"x.", "x"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(TrimExtension(c.path), c.trimmed) << c.path;
}

class Staging : public SetupFixture {
protected:
    // A package as the builder makes it: any stub, then the payload.
    std::string Package(const std::vector<pkg::InputFile>& files)
    {
        std::vector<uint8_t> payload;
        std::string error;
        EXPECT_TRUE(pkg::BuildPayload(files, &payload, &error)) << error;
        std::vector<uint8_t> stub(64, 'M');
        std::vector<uint8_t> package = pkg::BuildPackage(stub, payload);
        return std::string(package.begin(), package.end());
    }

    static pkg::InputFile File(const char* name, const std::string& text)
    {
        return {name, std::vector<uint8_t>(text.begin(), text.end())};
    }
};

TEST_F(Staging, PackageIsUnpackedCompletelyBeforeStagingReturns)
{
    machine.tempPath = "C:\\Documents and Settings\\user\\Local Settings\\Temp\\";
    machine.WriteFile(machine.tempPath + "placeholder", "");
    machine.WriteFile("D:\\DRIVER\\HWin2K.drv",
                      Package({File("drivers/w32x86/DL5100.DLL", std::string(70000, 'd')), File("DL5100.PPD", "*PPD")}));
    // A file an earlier run left behind is replaced, not kept.
    machine.WriteFile(machine.tempPath + "TARNOsetup\\stale.txt", "old");

    StageResult r = StagePackage(machine, "HWin2K.drv");
    ASSERT_TRUE(r.Succeeded());
    EXPECT_EQ(r.stagedPath, "C:\\Documents and Settings\\user\\Local Settings\\Temp\\HWin2K.exe");
    EXPECT_EQ(r.unpackFolder, "C:\\Documents and Settings\\user\\Local Settings\\Temp\\TARNOsetup");
    EXPECT_EQ(machine.hiddenRuns,
              std::vector<std::string>{"\"C:\\Documents and Settings\\user\\Local Settings\\Temp\\HWin2K.exe\""});
    EXPECT_EQ(machine.ReadFile(std::string(r.unpackFolder) + "\\drivers\\w32x86\\DL5100.DLL"), std::string(70000, 'd'));
    EXPECT_EQ(machine.ReadFile(std::string(r.unpackFolder) + "\\DL5100.PPD"), "*PPD");
    EXPECT_FALSE(machine.FileExists(std::string(r.unpackFolder) + "\\stale.txt"));
}

TEST_F(Staging, FailuresAreReportedAndNothingIsStartedBlindly)
{
    std::string good = Package({File("a.dll", "new")});
    std::string corrupt = good;
    corrupt[corrupt.size() - 40] ^= 0x55;
    const struct {
        const char* name;
        std::function<void(SimMachine&)> arrange;
        StageError error;
        const char* english;
        const char* korean;
    } cases[] = {
        {"no temporary folder", [](SimMachine& m) { m.tempPathFails = true; }, StageError::TempFolder,
         "Can't find the temporary folder (Error No. 5).", "임시 폴더를 찾을 수 없습니다. (오류 번호 5)"},
        {"package missing", [](SimMachine&) {}, StageError::Copy,
         "Can't copy the driver package HWin2K.drv into the temporary folder (Error No. 2).",
         "드라이버 패키지 HWin2K.drv 을(를) 임시 폴더에 복사할 수 없습니다. (오류 번호 2)"},
        {"not a program", [](SimMachine& m) { m.WriteFile("D:\\DRIVER\\HWin2K.drv", "just text"); }, StageError::Start,
         "Can't start the driver package HWin2K.drv (Error No. 193).",
         "드라이버 패키지 HWin2K.drv 을(를) 실행할 수 없습니다. (오류 번호 193)"},
        {"corrupt payload", [&](SimMachine& m) { m.WriteFile("D:\\DRIVER\\HWin2K.drv", corrupt); },
         StageError::PackageFailed, nullptr, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SimMachine m;
        m.currentDirectory = "D:\\DRIVER";
        m.MapDrive('D', m.HostPath("C:\\") + "/../d");
        // What an earlier run left: a staged copy and unpacked files.
        m.WriteFile(m.tempPath + "HWin2K.exe", good);
        m.WriteFile(m.tempPath + "TARNOsetup\\a.dll", "old");
        c.arrange(m);

        StageResult r = StagePackage(m, "HWin2K.drv");
        EXPECT_EQ(r.error, c.error);
        EXPECT_FALSE(r.Succeeded());
        if (c.error == StageError::Copy || c.error == StageError::TempFolder)
            EXPECT_TRUE(m.hiddenRuns.empty());  // the old staged copy is not run
        if (c.english) {
            EXPECT_STREQ(StageFailureMessage(r, "HWin2K.drv", kLanguageEnglish), c.english);
            EXPECT_STREQ(StageFailureMessage(r, "HWin2K.drv", kLanguageKorean), c.korean);
        } else {
            EXPECT_NE(std::string(StageFailureMessage(r, "HWin2K.drv", kLanguageEnglish)).find("HWin2K.drv"),
                      std::string::npos);
        }
    }
}

TEST_F(Staging, PresenceIsTestedInTheCurrentDirectory)
{
    machine.WriteFile("D:\\DRIVER\\HWin2K.drv", "x");
    EXPECT_TRUE(IsPackagePresent(machine, "HWin2K.drv"));
    EXPECT_TRUE(IsPackagePresent(machine, "hwin2k.DRV"));
    EXPECT_FALSE(IsPackagePresent(machine, ""));
    EXPECT_FALSE(IsPackagePresent(machine, "NT40H.drv"));
    machine.currentDirectory = "C:\\";
    EXPECT_FALSE(IsPackagePresent(machine, "HWin2K.drv"));
}

}  // namespace
