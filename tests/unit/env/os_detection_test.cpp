// Which system the version record names: code, OS field text and class.
#include <gtest/gtest.h>

#include "SetupFixture.h"
#include "env/OsDetection.h"

namespace {

struct VersionCase {
    const char* name;
    OsVersionInfo version;
    int code;
    const char* label;  // nullptr: the OS field is left alone
    int osClass;
};

const VersionCase kVersions[] = {
    {"Win95", Version(1, 4, 0), 12, "Windows 95", 150},
    {"Win98", Version(1, 4, 10, ""), 13, "Windows 98", 150},
    {"Win98 blank CSD", Version(1, 4, 10, " "), 13, "Windows 98", 150},
    {"Win98SE", Version(1, 4, 10, " A "), 14, "Windows 98SE", 150},
    {"Win98 lower-case a", Version(1, 4, 10, " a "), 13, "Windows 98", 150},
    {"Win98 other letter", Version(1, 4, 10, " B "), 13, "Windows 98", 150},
    {"Win98 'A' at index 0", Version(1, 4, 10, "A"), 13, "Windows 98", 150},
    {"WinME", Version(1, 4, 90), 15, "Windows ME", 150},
    {"Win95 family, major not looked at", Version(1, 7, 0), 12, "Windows 95", 150},
    {"Win95 family, unknown minor", Version(1, 4, 3), kOsCodeNone, nullptr, kOsClassNone},
    {"NT 3.51", Version(2, 3, 51), 22, "Not supported OS version", kOsClassNone},
    {"NT 4.0", Version(2, 4, 0), 21, "Windows NT 4.0", 151},
    {"NT 4.x any minor", Version(2, 4, 10), 21, "Windows NT 4.0", 151},
    {"Windows 2000", Version(2, 5, 0), 31, "Windows 2000", 152},
    {"Windows XP", Version(2, 5, 1, "Service Pack 2"), 32, "Windows XP", 152},
    {"Windows 2003", Version(2, 5, 2), 33, "Windows 2003", 152},
    {"NT 5.3", Version(2, 5, 3), kOsCodeNone, nullptr, kOsClassNone},
    {"NT 6.0", Version(2, 6, 0), kOsCodeNone, nullptr, kOsClassNone},
    {"NT 6.1", Version(2, 6, 1), kOsCodeNone, nullptr, kOsClassNone},
    {"NT 10.0", Version(2, 10, 0), kOsCodeNone, nullptr, kOsClassNone},
    {"Win32s", Version(0, 3, 10), 11, "Not supported OS version", kOsClassNone},
    {"Unknown platform", Version(3, 5, 1), 11, "Not supported OS version", kOsClassNone},
};

TEST(OsDetection, EveryRuleOfTheVersionTable)
{
    for (const VersionCase& c : kVersions) {
        SCOPED_TRACE(c.name);
        int code = OsCodeFromVersion(c.version);
        EXPECT_EQ(code, c.code);
        if (c.label)
            EXPECT_STREQ(OsLabel(code), c.label);
        else
            EXPECT_EQ(OsLabel(code), nullptr);
        EXPECT_EQ(OsClassOf(code), c.osClass);
        EXPECT_EQ(IsUnsupportedOs(code), code == 11 || code == 22);
    }
}

TEST(OsDetection, LanguageIsThePrimaryPartOfTheIdentifier)
{
    struct {
        uint16_t langId;
        int language;
        bool served;
    } cases[] = {
        {0x0412, 18, true},  // Korean
        {0x0812, 18, true},  // Korean, another sublanguage
        {0x0409, 9, true},   // English (United States)
        {0x0809, 9, true},   // English (United Kingdom)
        {0x0C09, 9, true},   // English (Australia)
        {0x0411, 17, false}, // Japanese
        {0x0804, 4, false},  // Chinese
        {0x0000, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.langId);
        EXPECT_EQ(PrimaryLanguage(c.langId), c.language);
        EXPECT_EQ(IsServedLanguage(PrimaryLanguage(c.langId)), c.served);
    }
}

}  // namespace
