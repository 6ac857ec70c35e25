#include "platform/core/files/IniRegistryStore.h"

#include "../../support/TempFolderTest.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using testsupport::TTempFolderTest;

class IniRegistry : public TTempFolderTest {};

TEST_F(IniRegistry, KeysAndValuesSurviveInTheFile)
{
    const std::string file = Path("config/kerfpad/registry.ini");
    {
        TIniRegistryStore store(file);
        TRegistry reg(store);
        ASSERT_TRUE(reg.OpenKey("\\Software\\Kerfpad\\Tips", true));
        reg.WriteString("1", "First tip");
        reg.WriteInteger("Count", -2147483643);
        reg.WriteString("Text", "dword:5");
        reg.SetRootKey(TRegistryRoot::ClassesRoot);
        ASSERT_TRUE(reg.OpenKey("\\CLSID\\{C9}\\Implemented Categories\\{7D}", true));
    }
    TIniRegistryStore store(file);
    TRegistry reg(store);
    ASSERT_TRUE(reg.OpenKeyReadOnly("\\software\\KERFPAD\\tips"));
    EXPECT_EQ(reg.GetValueNames(), (std::vector<std::string>{"1", "Count", "Text"}));
    EXPECT_EQ(reg.ReadString("1"), "First tip");
    EXPECT_EQ(reg.ReadInteger("Count"), -2147483643);
    EXPECT_EQ(reg.ReadString("Text"), "dword:5");
    EXPECT_THROW(reg.ReadInteger("1"), ERegistryException);
    EXPECT_EQ(store.SubKeyNames(TRegistryRoot::CurrentUser, "Software"), (std::vector<std::string>{"Kerfpad"}));
    EXPECT_TRUE(store.KeyExists(TRegistryRoot::ClassesRoot, "CLSID\\{c9}\\Implemented Categories"));
    EXPECT_FALSE(store.KeyExists(TRegistryRoot::CurrentUser, "CLSID"));

    EXPECT_TRUE(store.DeleteValue(TRegistryRoot::CurrentUser, "Software\\Kerfpad\\Tips", "count"));
    EXPECT_TRUE(store.DeleteKey(TRegistryRoot::ClassesRoot, "CLSID"));
    EXPECT_FALSE(store.DeleteKey(TRegistryRoot::ClassesRoot, "CLSID"));
    const TIniRegistryStore reread(file);
    EXPECT_FALSE(reread.KeyExists(TRegistryRoot::ClassesRoot, "CLSID\\{C9}"));
    EXPECT_EQ(reread.ValueNames(TRegistryRoot::CurrentUser, "Software\\Kerfpad\\Tips"),
              (std::vector<std::string>{"1", "Text"}));
}

TEST_F(IniRegistry, AFileThatCannotBeWrittenRefusesAndKeepsNoChange)
{
    WriteText("plain", "x");
    TIniRegistryStore store(Path("plain") + "/registry.ini");
    EXPECT_FALSE(store.CreateKey(TRegistryRoot::ClassesRoot, "CLSID\\{C9}"));
    EXPECT_FALSE(store.KeyExists(TRegistryRoot::ClassesRoot, "CLSID"));
    EXPECT_FALSE(store.WriteValue(TRegistryRoot::CurrentUser, "A", "v", std::int32_t{1}));
    EXPECT_FALSE(store.ReadValue(TRegistryRoot::CurrentUser, "A", "v"));
}

TEST(IniRegistryFile, LivesInTheUsersConfigurationFolder)
{
    const std::string savedConfig = std::getenv("XDG_CONFIG_HOME") ? std::getenv("XDG_CONFIG_HOME") : "";
    const std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    ::setenv("HOME", "/home/u", 1);
    ::setenv("XDG_CONFIG_HOME", "/cfg", 1);
    EXPECT_EQ(DefaultRegistryFileName(), "/cfg/kerfpad/registry.ini");
    ::setenv("XDG_CONFIG_HOME", "relative", 1);
    EXPECT_EQ(DefaultRegistryFileName(), "/home/u/.config/kerfpad/registry.ini");
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(DefaultRegistryFileName(), "/home/u/.config/kerfpad/registry.ini");
    ::setenv("HOME", savedHome.c_str(), 1);
    if (!savedConfig.empty())
        ::setenv("XDG_CONFIG_HOME", savedConfig.c_str(), 1);
}

} // namespace
