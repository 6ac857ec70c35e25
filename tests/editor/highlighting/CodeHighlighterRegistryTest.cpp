#include "editor/highlighting/CodeCustomHighlighter.h"
#include "../HighlighterTestSupport.h"

#include <gtest/gtest.h>

namespace {

class CodeHighlighterRegistry : public ::testing::Test {
protected:
    TMemoryRegistryStore store;
    TRegistryStoreScope scope{&store};
    TCodeHighlighterAttributes attribute{"Comment"};

    void Write(const std::string& key, const std::string& name, const TRegistryValue& value)
    {
        ASSERT_TRUE(store.WriteValue(TRegistryRoot::CurrentUser, key, name, value));
    }
    void WriteSplit(const std::string& key, int foreground, int background, const char* bold,
                    const char* defaultForeground)
    {
        Write(key, "Foreground Color", foreground);
        Write(key, "Background Color", background);
        Write(key, "Bold", std::string(bold));
        Write(key, "Italic", std::string("False"));
        Write(key, "Underline", std::string("1"));
        Write(key, "Default Foreground", std::string(defaultForeground));
        Write(key, "Default Background", std::string("0"));
    }
};

TEST_F(CodeHighlighterRegistry, AttributesRoundTripAndKeepTheCurrentKey)
{
    TWordHighlighter written;
    written.GetAttribute(0)->SetBackground(clAqua);
    written.GetAttribute(1)->SetForeground(clMaroon);
    written.GetAttribute(1)->SetStyle(TFont::fsBold | TFont::fsStrikeOut);
    ASSERT_TRUE(written.WriteAttributesToRegistry(TRegistryRoot::CurrentUser, "Software\\Kerfpad\\Words"));
    EXPECT_EQ(store.ReadValue(TRegistryRoot::CurrentUser, "Software\\Kerfpad\\Words\\Word", "Style"),
              TRegistryValue(TFont::fsBold | TFont::fsStrikeOut));

    TWordHighlighter read;
    ASSERT_TRUE(read.ReadAttributesFromRegistry(TRegistryRoot::CurrentUser, "Software\\Kerfpad\\Words"));
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(read.GetAttribute(i)->Background(), written.GetAttribute(i)->Background());
        EXPECT_EQ(read.GetAttribute(i)->Foreground(), written.GetAttribute(i)->Foreground());
        EXPECT_EQ(read.GetAttribute(i)->Style(), written.GetAttribute(i)->Style());
    }
    EXPECT_FALSE(read.ReadAttributesFromRegistry(TRegistryRoot::CurrentUser, "Software\\Missing"));

    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey("Software\\Kerfpad", false));
    EXPECT_FALSE(attribute.LoadFromRegistry(registry)) << "no subkey named Comment";
    EXPECT_TRUE(attribute.SaveToRegistry(registry));
    EXPECT_EQ(registry.CurrentPath(), "Software\\Kerfpad");
    store.SetReadOnly(true);
    TCodeHighlighterAttributes other("Other");
    EXPECT_FALSE(other.SaveToRegistry(registry));
    EXPECT_FALSE(written.WriteAttributesToRegistry(TRegistryRoot::CurrentUser, "Software\\New"));
}

TEST_F(CodeHighlighterRegistry, PackedForeignEntries)
{
    struct Case {
        const char* packed;
        bool read;
        TColor foreground, background;
        TFontStyles style;
    } cases[] = {
        {"x,y,BU,0,0,12,15", true, clBlue, clWhite, TFont::fsBold | TFont::fsUnderline},
        {",,I,1,1,3,99", true, clWindowText, clWindow, TFont::fsItalic},
        {",,,0,1,0,0", true, clBlack, clWindow, 0},
        {",,B,0,0,16,0", false, clRed, clNone, 0},
        {",,B,0,0,-1,0", false, clRed, clNone, 0},
        {",,B,0,0,seven,0", false, clRed, clNone, 0},
        {",,B,0,0,1", false, clRed, clNone, 0},
    };
    for (const Case& c : cases) {
        attribute.SetForeground(clRed);
        attribute.SetBackground(clNone);
        attribute.SetStyle(0);
        Write("Software\\Other", "Comment", std::string(c.packed));
        EXPECT_EQ(attribute.LoadFromRegistryEntry(TRegistryRoot::CurrentUser, "Software\\Other", "Comment", true),
                  c.read)
            << c.packed;
        EXPECT_EQ(attribute.Foreground(), c.foreground) << c.packed;
        EXPECT_EQ(attribute.Background(), c.background) << c.packed;
        EXPECT_EQ(attribute.Style(), c.style) << c.packed;
    }
    EXPECT_FALSE(attribute.LoadFromRegistryEntry(TRegistryRoot::CurrentUser, "Software\\Other", "String", true));
}

TEST_F(CodeHighlighterRegistry, SplitForeignEntries)
{
    WriteSplit("Software\\Split\\Comment", 4, 7, "TRUE", "false");
    ASSERT_TRUE(attribute.LoadFromRegistryEntry(TRegistryRoot::CurrentUser, "Software\\Split", "Comment", false));
    EXPECT_EQ(attribute.Foreground(), clNavy);
    EXPECT_EQ(attribute.Background(), clSilver);
    EXPECT_EQ(attribute.Style(), TFont::fsBold | TFont::fsUnderline);

    WriteSplit("Software\\Split\\Comment", 20, 7, "0", "yes");
    ASSERT_TRUE(attribute.LoadFromRegistryEntry(TRegistryRoot::CurrentUser, "Software\\Split", "Comment", false))
        << "a default foreground does not look at its index";
    EXPECT_EQ(attribute.Foreground(), clWindowText);
    EXPECT_EQ(attribute.Style(), TFont::fsUnderline);

    WriteSplit("Software\\Split\\Comment", 1, 20, "0", "yes");
    EXPECT_FALSE(attribute.LoadFromRegistryEntry(TRegistryRoot::CurrentUser, "Software\\Split", "Comment", false));
    EXPECT_EQ(attribute.Background(), clSilver) << "a bad index changes nothing";

    ASSERT_TRUE(store.DeleteValue(TRegistryRoot::CurrentUser, "Software\\Split\\Comment", "Italic"));
    EXPECT_FALSE(attribute.LoadFromRegistryEntry(TRegistryRoot::CurrentUser, "Software\\Split", "Comment", false));
    Write("Software\\Split\\Comment", "Italic", 0);
    EXPECT_FALSE(attribute.LoadFromRegistryEntry(TRegistryRoot::CurrentUser, "Software\\Split", "Comment", false))
        << "a flag stored as an integer is malformed";
}

} // namespace
