#include "editor/highlighting/CodeRuleRange.h"
#include "../../support/PartProgramRules.h"

#include <gtest/gtest.h>

namespace {

TEST(CodeRuleRange, CharacterSetsAndStylesAsText)
{
    QString text = QStringLiteral("zb a\r\nb,");
    text += QChar(0);
    text += QChar(0x3A9); // not a member of any code set
    EXPECT_EQ(CharSetToText(TextToCharSet(text)), ",abz");
    TCodeRange range;
    const QString defaults = "!\"#$%&'()*+,-./:;<=>?@[\\]^`{|}~";
    EXPECT_EQ(CharSetToText(range.DelimiterChars), defaults);
    range.Prepare(&range);
    EXPECT_TRUE(range.DelimiterChars.Contains(u' ') && range.DelimiterChars.Contains(u'\0'));
    EXPECT_EQ(CharSetToText(range.DelimiterChars), defaults) << "the four added by preparation are not listed";

    struct {
        const char* text;
        TFontStyles style;
        const char* back;
    } styles[] = {{"bi", 0, ""},
                  {"SUB", TFont::fsBold | TFont::fsUnderline | TFont::fsStrikeOut, "BUS"},
                  {"xIx", TFont::fsItalic, "I"},
                  {"SIUB", TFont::fsBold | TFont::fsItalic | TFont::fsUnderline | TFont::fsStrikeOut, "BIUS"}};
    for (const auto& s : styles) {
        EXPECT_EQ(TextToFontStyle(QString(s.text)), s.style) << s.text;
        EXPECT_EQ(FontStyleToText(s.style), s.back) << s.text;
    }
    EXPECT_EQ(TextToLines("MS\r\nJS\r\n"), QStringList({"MS", "JS"}));
    EXPECT_EQ(TextToLines("a\n\rb\rc"), QStringList({"a", "", "b", "c"}));
    EXPECT_TRUE(TextToLines("").isEmpty());
}

TEST(CodeRuleRange, BuildingAndEditingRules)
{
    TCodeRange root;
    EXPECT_TRUE(root.GetCaseSensitive()) << "agrees with its identity fold";
    EXPECT_EQ(root.FoldText(QString::fromUtf8("az\xC3\xA9{")), QString::fromUtf8("az\xC3\xA9{"));
    root.SetCaseSensitive(false);
    EXPECT_EQ(root.FoldText(QString::fromUtf8("az\xC3\xA9{")), QString::fromUtf8("AZ\xC3\xA9{"))
        << "ASCII letters only";
    EXPECT_EQ(root.DefaultAttri().Name(), "Default packages");
    EXPECT_EQ(root.NumberAttri().Name(), "Number");

    AddKeywordGroup(root, "One", "a", clRed, "");
    AddKeywordGroup(root, "Two", "b", clRed, "");
    AddShellRange(root, "Comment", "'", "", clGreen);
    EXPECT_EQ(AddShellRange(root, "Variable", "&", " ", clGreen).Name, "Variable");
    EXPECT_EQ(root.GetRange(1)->Name, "Variable");
    EXPECT_THROW(root.GetRange(2), EListError);
    EXPECT_THROW(root.GetSymbolGroup(-1), EListError);

    root.DeleteSymbolGroup(0);
    EXPECT_EQ(root.GetSymbolGroupCount(), 1);
    EXPECT_EQ(root.GetAttributeCount(), 2) << "the deleted group's attribute stays";
    root.Prepare(&root);
    root.DeleteRange(0);
    EXPECT_FALSE(root.Prepared()) << "deleting a range unprepares the tree";
    EXPECT_EQ(root.GetRangeCount(), 1);
    root.Clear();
    EXPECT_EQ(root.GetRangeCount() + root.GetSymbolGroupCount() + root.GetAttributeCount(), 0);
}

TEST(CodeRuleRange, PreparationBuildsSortedSymbolsAndFindsOpenersAndClosers)
{
    TCodeRange root;
    root.SetCaseSensitive(false);
    AddKeywordGroup(root, "Early", "b~BEGIN~{~a", clRed, "");
    AddKeywordGroup(root, "Late", "a~Z", clBlue, "");
    auto block = std::make_unique<TCodeRange>("{", "}");
    TCodeRange& nested = *block;
    AddKeywordGroup(nested, "Close", "}", clLime, "");
    root.AddRange(std::move(block));
    root.Prepare(&root);

    QStringList order;
    for (int i = 0; i < root.GetSymbolCount(); ++i) {
        order << root.GetSymbol(i)->Symbol;
    }
    EXPECT_EQ(order, QStringList({"BEGIN", "Z", "a", "b", "{"})) << "byte-wise, one symbol per text";
    EXPECT_EQ(root.GetSymbol(2)->Attributes, root.GetSymbolGroup(1)->Attributes) << "a later group wins";
    const TCodeSymbol* opener = root.GetSymbol(4);
    EXPECT_EQ(opener->StartsRange, &nested);
    EXPECT_EQ(opener->Attributes, root.GetSymbolGroup(0)->Attributes) << "a keyword opener keeps its colour";
    ASSERT_NE(nested.CloseSymbolFound(), nullptr);
    EXPECT_EQ(nested.CloseSymbolFound()->Attributes, nested.GetSymbolGroup(0)->Attributes);
    EXPECT_EQ(nested.Parent(), &root);
    EXPECT_EQ(nested.TreeIndex(), 1);
    EXPECT_EQ(root.TreeRanges().size(), 2u);

    // Unprepare does nothing on an unprepared range, not even below it.
    TCodeRange parent;
    auto child = std::make_unique<TCodeRange>("(", ")");
    child->Prepare(child.get());
    TCodeRange& kept = *child;
    parent.AddRange(std::move(child));
    parent.Unprepare();
    EXPECT_TRUE(kept.Prepared());
}

} // namespace
