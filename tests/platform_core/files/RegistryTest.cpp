#include "platform/core/files/Registry.h"

#include <gtest/gtest.h>

TEST(Registry, RelativeAndAbsoluteKeysFoldCaseAndKeepFirstNames)
{
    TMemoryRegistryStore store;
    TRegistry reg(store);
    ASSERT_TRUE(reg.OpenKey("\\Software\\Kerfpad", true));
    ASSERT_TRUE(reg.OpenKey("Colors", true));
    EXPECT_EQ(reg.CurrentPath(), "Software\\Kerfpad\\Colors");
    reg.WriteInteger("Foreground", 5);
    reg.WriteString("Name", "x");

    ASSERT_TRUE(reg.OpenKey("\\SOFTWARE\\kerfpad\\COLORS", false));
    EXPECT_EQ(reg.ReadInteger("foreground"), 5);
    EXPECT_EQ(reg.ReadString("NAME"), "x");
    EXPECT_THROW(reg.ReadString("Foreground"), ERegistryException);
    EXPECT_THROW(reg.ReadInteger("Missing"), ERegistryException);

    ASSERT_TRUE(reg.OpenKey("\\software", false));
    EXPECT_EQ(reg.GetKeyNames(), std::vector<std::string>{"Kerfpad"});
    EXPECT_FALSE(reg.OpenKey("Nothing", false));
    EXPECT_EQ(reg.CurrentPath(), "software") << "a failed open keeps the current key, as it was named";

    reg.SetRootKey(TRegistryRoot::LocalMachine);
    EXPECT_FALSE(reg.KeyExists("\\Software")) << "roots are apart";
}

TEST(Registry, DeletesAndReadOnlyStoreRefuse)
{
    TMemoryRegistryStore store;
    TRegistry reg(store);
    ASSERT_TRUE(reg.OpenKey("\\A\\B", true));
    reg.WriteInteger("v", 1);
    reg.WriteInteger("w", 2);
    EXPECT_EQ(reg.GetValueNames(), (std::vector<std::string>{"v", "w"}));
    EXPECT_TRUE(reg.DeleteValue("V"));
    EXPECT_FALSE(reg.ValueExists("v"));

    store.SetReadOnly(true);
    EXPECT_THROW(reg.WriteInteger("w", 3), ERegistryException);
    EXPECT_FALSE(reg.OpenKey("\\C", true));
    EXPECT_EQ(reg.ReadInteger("w"), 2);
    store.SetReadOnly(false);

    EXPECT_TRUE(reg.DeleteKey("\\A"));
    EXPECT_FALSE(reg.KeyExists("\\A\\B"));
    EXPECT_FALSE(reg.DeleteKey("\\A"));
}
