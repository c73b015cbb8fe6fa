// The simulated machine's INI engine follows the private-profile rules.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "platform/sim/IniFile.h"

namespace {

class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char name[] = "/tmp/initest-XXXXXX";
        int fd = mkstemp(name);
        close(fd);
        path = name;
    }
    void TearDown() override { std::remove(path.c_str()); }

    void Write(const std::string& text)
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << text;
    }
    std::string Read()
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::string Get(const char* section, const char* key, const char* def = "")
    {
        return ini::GetString(path, section, key, def);
    }

    std::string path;
};

TEST_F(IniFileTest, ReadsValuesByTheProfileRules)
{
    const struct {
        const char* name;
        const char* file;
        const char* section;
        const char* key;
        const char* def;
        const char* value;
    } cases[] = {
        {"case of names", "[Model]\nmodelname=Laser\n", "MODEL", "ModelName", "", "Laser"},
        {"blanks around names and value", "  [ MODEL ]  \n  ModelName  =   Laser 5  \n", "MODEL", "ModelName", "", "Laser 5"},
        {"double quotes stripped", "[A]\nk=\"  quoted  \"\n", "A", "k", "", "  quoted  "},
        {"single quotes stripped", "[A]\nk='x'\n", "A", "k", "", "x"},
        {"unbalanced quote kept", "[A]\nk=\"x\n", "A", "k", "", "\"x"},
        {"first of duplicate keys", "[A]\nk=1\nk=2\n", "A", "k", "", "1"},
        {"line without '=' is no key", "[A]\nk\n", "A", "k", "dflt", "dflt"},
        {"empty value is not missing", "[A]\nDatType=\n", "A", "DatType", "RAW", ""},
        {"missing key gives default", "[A]\nx=1\n", "A", "DatType", "RAW", "RAW"},
        {"missing section gives default", "[B]\nDatType=EMF\n", "A", "DatType", "RAW", "RAW"},
        {"key of another section not seen", "[A]\n[B]\nk=1\n", "A", "k", "", ""},
        {"CRLF endings", "[A]\r\nk=v\r\nj=w\r\n", "A", "j", "", "w"},
        {"value holds '='", "[A]\nk=a=b\n", "A", "k", "", "a=b"},
        {"no final line end", "[A]\nk=last", "A", "k", "", "last"},
        {"Korean bytes kept", "[MODEL]\nModelName=\xB5\xA5\xB8\xF0\n", "MODEL", "ModelName", "", "\xB5\xA5\xB8\xF0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Write(c.file);
        EXPECT_EQ(Get(c.section, c.key, c.def), c.value);
    }
}

TEST_F(IniFileTest, MissingFileGivesDefaults)
{
    std::remove(path.c_str());
    EXPECT_EQ(Get("A", "k", "RAW"), "RAW");
    EXPECT_EQ(ini::GetInt(path, "A", "k", 7), 7u);
}

TEST_F(IniFileTest, LongValuesAreCutToTheBuffer)
{
    Write("[A]\nk=" + std::string(5000, 'x') + "\n");
    EXPECT_EQ(Get("A", "k").size(), 4095u);
}

TEST_F(IniFileTest, IntegersAreUnsigned32Bit)
{
    const struct {
        const char* value;
        unsigned expected;
    } cases[] = {
        {"12", 12}, {" 300 ", 300}, {"-1", 4294967295u}, {"+5", 5}, {"7 files", 7}, {"abc", 0}, {"", 99},
    };
    for (const auto& c : cases) {
        Write(std::string("[A]\nk=") + c.value + "\n");
        EXPECT_EQ(ini::GetInt(path, "A", "k", 99), c.expected) << c.value;
    }
}

TEST_F(IniFileTest, WritesChangeOnlyTheirLine)
{
    const std::string before = "; medium\r\n[MODEL]\r\nModelName = Laser\r\n\r\n[OSforInstallDiskette]\r\nFileName=Old.drv\r\n[Win2Kh]\r\nX = \"1\"\r\n";
    Write(before);
    ASSERT_TRUE(ini::WriteString(path, "osforinstalldiskette", "FILENAME", "HWin2K.drv"));
    EXPECT_EQ(Read(), "; medium\r\n[MODEL]\r\nModelName = Laser\r\n\r\n[OSforInstallDiskette]\r\nFileName=HWin2K.drv\r\n[Win2Kh]\r\nX = \"1\"\r\n");

    ASSERT_TRUE(ini::WriteString(path, "MODEL", "EnglishModelName", "Laser E"));
    EXPECT_EQ(Get("MODEL", "EnglishModelName"), "Laser E");
    EXPECT_EQ(Get("MODEL", "ModelName"), "Laser");
    EXPECT_EQ(Get("Win2Kh", "X"), "1");

    ASSERT_TRUE(ini::WriteString(path, "New", "k", "v"));
    EXPECT_EQ(Get("New", "k"), "v");
}

TEST_F(IniFileTest, ReplacingAKeyKeepsItsNeighbours)
{
    Write("[A]\r\nk=1\r\nj=2\r\n");
    ini::WriteString(path, "a", "K", "9");
    EXPECT_EQ(Read(), "[A]\r\nk=9\r\nj=2\r\n");
}

TEST_F(IniFileTest, WriteCreatesAMissingFile)
{
    std::remove(path.c_str());
    ASSERT_TRUE(ini::WriteString(path, "OSforInstallDiskette", "FileName", "Win95.drv"));
    EXPECT_EQ(Get("OSforInstallDiskette", "FileName"), "Win95.drv");
}

TEST_F(IniFileTest, NullKeyRemovesSectionNullValueRemovesKey)
{
    Write("[A]\nk=1\nj=2\n[B]\nx=1\n");
    ini::WriteString(path, "A", "k", nullptr);
    EXPECT_EQ(Read(), "[A]\nj=2\n[B]\nx=1\n");
    ini::WriteString(path, "A", nullptr, nullptr);
    EXPECT_EQ(Read(), "[B]\nx=1\n");
}

}  // namespace
