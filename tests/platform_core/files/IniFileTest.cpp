#include "platform/core/files/IniFile.h"
#include "platform/core/files/Stream.h"

#include "../../support/TempFolderTest.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

using testsupport::TTempFolderTest;

class IniFiles : public TTempFolderTest {
protected:
    TIniFile Load(const std::string& text)
    {
        WriteText("k.ini", text);
        return TIniFile(Path("k.ini"));
    }
};

// Files that are only read come back byte for byte, whatever they hold.
class IniRoundTrip : public IniFiles, public ::testing::WithParamInterface<const char*> {};

TEST_P(IniRoundTrip, ReadAndWrittenBackUnchanged)
{
    TIniFile ini = Load(GetParam());
    EXPECT_EQ(ini.Text(), GetParam());
    ini.UpdateFile();
    EXPECT_EQ(ReadText("k.ini"), GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Texts, IniRoundTrip,
    ::testing::Values("; settings\n\n[Main]\nWidth=640\n  odd line\n# note\n[main]\nWidth=1\n",
                      "[Main]\r\nLeft = 10 \r\n\r\n[Editor]\r\nFontName=Courier New\r\n",
                      "[A]\nx=1", "\xEF\xBB\xBF[A]\nx=1\n", "", "stray=1\n[A]\n=no key\n"));

TEST_F(IniFiles, LookupsFollowTheProfileRules)
{
    const TIniFile ini = Load("top=0\n[Main]\nWidth = 640 \nwidth=1\nList=50,25,75\nQuoted=\"a b\"\n"
                              ";Hidden=1\nEq=a=b\nEmpty=\n[MAIN]\nHeight=480\nWidth=2\n[Other]\nx=y\n");
    struct Case {
        const char* section;
        const char* key;
        const char* expected;
    } cases[] = {
        {"main", "WIDTH", "640"}, {"Main", "List", "50,25,75"}, {"Main", "Quoted", "\"a b\""},
        {"Main", "Eq", "a=b"},    {"Main", "Empty", ""},        {"Main", "Height", "480"},
        {"Main", ";Hidden", "-"}, {"", "top", "-"},            {"Other", "x", "y"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ini.ReadString(c.section, c.key, "-"), c.expected) << c.section << "/" << c.key;
    EXPECT_TRUE(ini.ValueExists("MAIN", "empty"));
    EXPECT_FALSE(ini.SectionExists("Missing"));
    EXPECT_EQ(ini.ReadSection("main"), (std::vector<std::string>{"Width", "List", "Quoted", "Eq", "Empty", "Height"}));
    EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"Main", "Other"}));
    EXPECT_EQ(ini.ReadSectionValues("Other"), (std::vector<std::string>{"x=y"}));
}

TEST_F(IniFiles, NumbersReadTheirDefaultWhenTheTextIsNoNumber)
{
    const TIniFile ini = Load("[N]\ndec= -7 \nhex=$1F\nhex2=0x10\nsys=$80000005\nneg=-2147483643\n"
                              "junk=12abc\nfrac=3.5\nbig=99999999999\nbool2=2\nyes=yes\nf=20.5\nfc=1,5\n");
    struct Case {
        const char* key;
        int expected;
    } integers[] = {{"dec", -7},   {"hex", 31},   {"hex2", 16},  {"sys", -2147483643}, {"neg", -2147483643},
                    {"junk", 42}, {"frac", 42}, {"big", 42}, {"missing", 42}};
    for (const auto& c : integers)
        EXPECT_EQ(ini.ReadInteger("N", c.key, 42), c.expected) << c.key;
    EXPECT_TRUE(ini.ReadBool("N", "bool2", false));
    EXPECT_FALSE(ini.ReadBool("N", "yes", false));
    EXPECT_DOUBLE_EQ(ini.ReadFloat("N", "f", 1), 20.5);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("N", "fc", 1), 1);
}

TEST_F(IniFiles, WritesKeepLayoutSpellingAndLineBreaks)
{
    TIniFile ini = Load("[Main]\r\nWIDTH=1\r\nTop=2\r\n\r\n[Editor]\r\nx=1");
    ini.WriteInteger("main", "width", 640);
    ini.WriteString("Main", "New", "a\nb");
    ini.WriteBool("Editor", "On", true);
    ini.WriteFloat("Print", "Margin", 20.0);
    ini.WriteFloat("Print", "Gutter", 0.5);
    EXPECT_EQ(ini.Text(), "[Main]\r\nWIDTH=640\r\nTop=2\r\nNew=a b\r\n\r\n[Editor]\r\nx=1\r\nOn=1\r\n\r\n"
                          "[Print]\r\nMargin=20\r\nGutter=0.5\r\n");
}

TEST_F(IniFiles, DeletingRemovesEveryOccurrence)
{
    TIniFile ini = Load("[A]\nk=1\nk=2\nj=3\n[B]\nb=1\n[a]\nk=4\nl=5");
    ini.DeleteKey("A", "K");
    EXPECT_FALSE(ini.ValueExists("A", "k"));
    EXPECT_EQ(ini.Text(), "[A]\nj=3\n[B]\nb=1\n[a]\nl=5");
    ini.EraseSection("a");
    EXPECT_EQ(ini.Text(), "[B]\nb=1\n");
}

TEST_F(IniFiles, UpdateKeepsPermissionsAndGivesNewFilesTheUsualOnes)
{
    TIniFile existing = Load("[A]\n");
    ::chmod(Path("k.ini").c_str(), 0640);
    existing.WriteInteger("A", "x", 1);
    existing.UpdateFile();
    struct stat info {};
    ASSERT_EQ(::stat(Path("k.ini").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);

    TIniFile fresh(Path("new.ini"));
    fresh.WriteInteger("A", "x", 1);
    fresh.UpdateFile();
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ASSERT_EQ(::stat(Path("new.ini").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0666u & ~mask);
    EXPECT_EQ(ReadText("new.ini"), "[A]\nx=1\n");
}

TEST_F(IniFiles, AFailedUpdateKeepsTheOldFileAndNamesIt)
{
    TIniFile ini = Load("[A]\nx=old\n");
    ini.WriteString("A", "x", std::string(4096, 'n'));
    // A size limit below the new content makes the write fail half way, even for root.
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 1024;
    ::setrlimit(RLIMIT_FSIZE, &small);
    EXPECT_THROW(ini.UpdateFile(), EStreamError);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(ReadText("k.ini"), "[A]\nx=old\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1) << "temporary file left";

    WriteText("plain", "x");
    TIniFile underFile(Path("plain") + "/k.ini");
    try {
        underFile.UpdateFile();
        ADD_FAILURE() << "no error";
    } catch (const EFCreateError& e) {
        EXPECT_NE(std::string(e.what()).find(Path("plain") + "/k.ini"), std::string::npos) << e.what();
    }
}

TEST_F(IniFiles, AFileThatCannotBeReadGivesDefaultsAndIsNeverReplaced)
{
    std::filesystem::create_directory(folder / "dir.ini");
    TIniFile ini(Path("dir.ini"));
    EXPECT_FALSE(ini.Readable());
    EXPECT_EQ(ini.ReadInteger("Main", "Width", 7), 7);
    ini.WriteInteger("Main", "Width", 1);
    EXPECT_THROW(ini.UpdateFile(), EFCreateError);
    EXPECT_TRUE(std::filesystem::is_directory(folder / "dir.ini"));
}

} // namespace
