#include "editor/highlighting/CodeCustomHighlighter.h"
#include "editor/highlighting/CodeHighlighterList.h"
#include "editor/highlighting/CodeHighlighters.h"
#include "editor/highlighting/CodeRuleHighlighter.h"
#include "HighlighterTestSupport.h"

#include <gtest/gtest.h>

namespace {

class TOtherHighlighter : public TWordHighlighter {
    KP_CLASS(TOtherHighlighter, TWordHighlighter)
};

TEST(CodeHighlighterAttributes, SettersAndAssignFireOnlyOnChange)
{
    TCodeHighlighterAttributes attribute("Comment");
    TEventCounter changes;
    attribute.OnChange = changes.Event();
    struct Step {
        void (*apply)(TCodeHighlighterAttributes&);
        int fired;
    } steps[] = {
        {[](auto& a) { a.SetForeground(clNone); }, 0}, {[](auto& a) { a.SetForeground(clRed); }, 1},
        {[](auto& a) { a.SetForeground(clRed); }, 0},  {[](auto& a) { a.SetBackground(clNone); }, 0},
        {[](auto& a) { a.SetBackground(clBlue); }, 1}, {[](auto& a) { a.SetStyle(TFont::fsBold); }, 1},
        {[](auto& a) { a.SetStyle(TFont::fsBold); }, 0},
    };
    for (const Step& step : steps) {
        const int before = changes.count;
        step.apply(attribute);
        EXPECT_EQ(changes.count - before, step.fired);
    }
    EXPECT_EQ(changes.sender, &attribute);

    TCodeHighlighterAttributes source("Keyword");
    source.SetForeground(clGreen);
    source.SetBackground(clYellow);
    source.SetStyle(TFont::fsItalic | TFont::fsUnderline);
    changes.count = 0;
    attribute.Assign(&source);
    EXPECT_EQ(changes.count, 1) << "three changed values, one event";
    EXPECT_EQ(attribute.Name(), "Keyword");
    EXPECT_EQ(attribute.Foreground(), clGreen);
    EXPECT_EQ(attribute.Background(), clYellow);
    EXPECT_EQ(attribute.Style(), TFont::fsItalic | TFont::fsUnderline);
    attribute.Assign(&source);
    EXPECT_EQ(changes.count, 1) << "nothing changed";
    TFont font;
    EXPECT_THROW(attribute.Assign(&font), EConvertError);
}

TEST(CodeCustomHighlighter, AttributesInNameOrderWithoutDuplicates)
{
    TWordHighlighter highlighter(nullptr, {"Word", "comment", "Number", "Space"});
    ASSERT_EQ(highlighter.GetAttribCount(), 4);
    const char* order[] = {"comment", "Number", "Space", "Word"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(highlighter.GetAttribute(i)->Name(), order[i]);
    }
    EXPECT_EQ(highlighter.GetAttribute(-1), nullptr);
    EXPECT_EQ(highlighter.GetAttribute(4), nullptr);
    EXPECT_THROW(highlighter.AddAttribute(std::make_unique<TCodeHighlighterAttributes>("NUMBER")), EListError);
    EXPECT_EQ(highlighter.GetAttribCount(), 4);
}

TEST(CodeCustomHighlighter, AttachedHandlersDecideWhatIsStoredAndNotify)
{
    TWordHighlighter highlighter;
    TEventCounter editor;
    highlighter.AddChangeHandler(editor.Event());
    TCodeHighlighterAttributes* word = highlighter.GetAttribute(1);
    TCodeHighlighterAttributes* space = highlighter.GetAttribute(0);
    word->SetForeground(clNavy);
    EXPECT_EQ(editor.count, 1);
    EXPECT_EQ(editor.sender, &highlighter);
    EXPECT_TRUE(word->IsForegroundStored());
    EXPECT_FALSE(word->IsBackgroundStored());
    EXPECT_FALSE(space->IsForegroundStored() || space->IsBackgroundStored() || space->IsStyleStored());
    word->SetForeground(clNone);
    EXPECT_FALSE(word->IsForegroundStored()) << "back at its default";

    highlighter.BeginUpdate();
    highlighter.SetEnabled(false);
    highlighter.SetEnabled(false);
    EXPECT_EQ(editor.count, 2);
    EXPECT_TRUE(highlighter.ChangePending());
    highlighter.EndUpdate();
    EXPECT_EQ(editor.count, 3) << "the held-back change fires once";
    EXPECT_FALSE(highlighter.ChangePending());
    highlighter.RemoveChangeHandler(editor.Event());
    highlighter.SetEnabled(true);
    EXPECT_EQ(editor.count, 3);
}

TEST(CodeCustomHighlighter, WordBreaksAndWordCharacters)
{
    TWordHighlighter highlighter;
    EXPECT_EQ(CharSetToText(highlighter.WordBreakChars()), "!\"'()*+,-./:;=?[\\]^{|}");
    const TCodeCharSet words = highlighter.GetWordChars();
    EXPECT_FALSE(words.Contains(u' '));
    EXPECT_TRUE(words.Contains(u'!') && words.Contains(char16_t(255)));
    EXPECT_TRUE(words.Contains(u'\u03A9')) << "letters of other scripts are word characters";
}

TEST(CodeCustomHighlighter, AssignCopiesAttributesByNameAndSampleOnlyFromItsClass)
{
    TWordHighlighter source(nullptr, {"Word", "Space", "Extra"});
    source.GetAttribute(2)->SetStyle(TFont::fsBold); // "Word"
    source.SetSampleSource("sample");
    source.SetDefaultFilter("Words (*.w)|*.w");
    TCodeCharSet breaks;
    breaks.Include(u'#');
    source.StoreCharSet(breaks);
    source.SetEnabled(false);

    TWordHighlighter target;
    target.Assign(&source);
    EXPECT_EQ(target.GetAttribute(1)->Style(), TFont::fsBold);
    EXPECT_EQ(target.GetAttribCount(), 2) << "names the target lacks are not added";
    EXPECT_EQ(target.GetSampleSource(), "sample");
    EXPECT_EQ(target.GetDefaultFilter(), "Words (*.w)|*.w");
    EXPECT_EQ(target.WordBreakChars(), breaks);
    EXPECT_FALSE(target.Enabled());

    TOtherHighlighter other;
    other.Assign(&source);
    EXPECT_EQ(other.GetSampleSource(), "") << "a sibling class keeps its sample";
    EXPECT_EQ(other.GetAttribute(1)->Style(), TFont::fsBold);
}

TEST(CodeHighlighterList, RegisteringTwiceKeepsOneEntry)
{
    TCodeHighlighterList list;
    const auto make = [](TComponent* owner) -> TCodeCustomHighlighter* { return new TWordHighlighter(owner); };
    EXPECT_EQ(list.Add(TCodeCustomHighlighter::StaticClass(), make), 0);
    EXPECT_EQ(list.Add(TWordHighlighter::StaticClass(), make), 1);
    EXPECT_EQ(list.Add(TCodeCustomHighlighter::StaticClass(), make), 0);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.IndexOf(TCodeHighlighterAttributes::StaticClass()), -1);
    TComponent owner;
    TCodeCustomHighlighter* made = list.CreateHighlighter(1, &owner);
    EXPECT_TRUE(made->Is<TWordHighlighter>());
    EXPECT_EQ(owner.ComponentCount(), 1);

    const int index = RegisterHighlighterClass<TWordHighlighter>();
    EXPECT_EQ(RegisterHighlighterClass<TWordHighlighter>(), index);
    EXPECT_EQ(GetHighlighterList().Items(index), TWordHighlighter::StaticClass());

    RegisterEditorHighlighters();
    const int count = GetHighlighterList().Count();
    RegisterEditorHighlighters();
    EXPECT_EQ(GetHighlighterList().Count(), count);
    const int rules = GetHighlighterList().IndexOf(TCodeRuleHighlighter::StaticClass());
    ASSERT_GE(rules, 0);
    std::unique_ptr<TCodeCustomHighlighter> rule(GetHighlighterList().CreateHighlighter(rules, nullptr));
    EXPECT_EQ(rule->GetLanguageName(), "UniLenguage");
}

} // namespace
