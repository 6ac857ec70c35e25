#include "editor/control/CodeEditKeyStrokes.h"
#include "../QtPrinters.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

TEST(CodeEditCommands, TableHasEveryIdentifierOnce)
{
    std::set<TCodeEditorCommand> numbers;
    std::set<std::string> names;
    for (const TCodeEditorCommandName& entry : EditorCommandNames) {
        numbers.insert(entry.command);
        names.insert(entry.identifier);
    }
    EXPECT_EQ(EditorCommandNameCount, 96);
    EXPECT_EQ(numbers.size(), 96u);
    EXPECT_EQ(names.size(), 96u);
}

TEST(CodeEditCommands, CommandTextAndIdentifiers)
{
    struct Case {
        TCodeEditorCommand command;
        QString text;
    } cases[] = {
        {ecNone, "ecNone"},       {ecUserFirst, "ecUserFirst"}, {1002, "1002"},
        {ecCopy, "ecCopy"},       {ecSetMarker9, "ecSetMarker9"}, {ecString, "ecString"},
        {18, "18"},               {65535, "65535"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CommandToText(c.command), c.text) << c.command;
    }
    QString ident = "unchanged";
    EXPECT_FALSE(CommandToIdent(1002, ident));
    EXPECT_TRUE(CommandToIdent(ecSelGotoXY, ident));
    EXPECT_EQ(ident, "ecSelGotoXY");
    TCodeEditorCommand command = 7;
    EXPECT_TRUE(IdentToCommand("ecPaste", command));
    EXPECT_EQ(command, 604);
    EXPECT_TRUE(IdentToCommand("ECPASTE", command));
    EXPECT_FALSE(IdentToCommand("ecNoSuchThing", command));
    EXPECT_EQ(command, 604) << "left alone when not found";
    EXPECT_EQ(ecSelLeft, ecLeft + ecSelection);
    EXPECT_EQ(ecSelGotoXY, ecGotoXY + ecSelection);
}

std::vector<std::string> DisplayNames(const TCodeEditKeyStrokes& strokes)
{
    std::vector<std::string> names;
    for (int i = 0; i < strokes.Count(); ++i) {
        names.push_back(strokes.Items(i)->DisplayName());
    }
    return names;
}

TEST(CodeEditKeyStrokes, DefaultKeysAreExactlyTheDefaultTable)
{
    TCodeEditKeyStrokes strokes(nullptr);
    TCodeEditKeyStroke* own = strokes.Add();
    own->SetCommand(ecUserFirst);
    own->SetShortCut(ShortCut('Q', ssCtrl));
    strokes.SetDefaultKeys();
    const std::vector<std::string> expected = {
        "ecUp - Up", "ecSelUp - Shift+Up", "ecScrollUp - Ctrl+Up", "ecDown - Down", "ecSelDown - Shift+Down",
        "ecScrollDown - Ctrl+Down", "ecLeft - Left", "ecSelLeft - Shift+Left", "ecWordLeft - Ctrl+Left",
        "ecSelWordLeft - Shift+Ctrl+Left", "ecRight - Right", "ecSelRight - Shift+Right", "ecWordRight - Ctrl+Right",
        "ecSelWordRight - Shift+Ctrl+Right", "ecPageDown - PgDn", "ecSelPageDown - Shift+PgDn",
        "ecPageBottom - Ctrl+PgDn", "ecSelPageBottom - Shift+Ctrl+PgDn", "ecPageUp - PgUp",
        "ecSelPageUp - Shift+PgUp", "ecPageTop - Ctrl+PgUp", "ecSelPageTop - Shift+Ctrl+PgUp", "ecLineStart - Home",
        "ecSelLineStart - Shift+Home", "ecEditorTop - Ctrl+Home", "ecSelEditorTop - Shift+Ctrl+Home",
        "ecLineEnd - End", "ecSelLineEnd - Shift+End", "ecEditorBottom - Ctrl+End",
        "ecSelEditorBottom - Shift+Ctrl+End", "ecToggleMode - Ins", "ecCopy - Ctrl+Ins", "ecCut - Shift+Del",
        "ecPaste - Shift+Ins", "ecDeleteChar - Del", "ecDeleteLastChar - BkSp", "ecDeleteLastChar - Shift+BkSp",
        "ecDeleteLastWord - Ctrl+BkSp", "ecUndo - Alt+BkSp", "ecRedo - Shift+Alt+BkSp", "ecLineBreak - Enter",
        "ecLineBreak - Shift+Enter", "ecTab - Tab", "ecShiftTab - Shift+Tab", "ecContextHelp - Ctrl+F1",
        "ecSelectAll - Ctrl+A", "ecCopy - Ctrl+C", "ecPaste - Ctrl+V", "ecCut - Ctrl+X",
        "ecBlockIndent - Shift+Ctrl+I", "ecBlockUnindent - Shift+Ctrl+U", "ecLineBreak - Ctrl+M",
        "ecInsertLine - Ctrl+N", "ecDeleteWord - Ctrl+T", "ecDeleteLine - Ctrl+Y", "ecDeleteEOL - Shift+Ctrl+Y",
        "ecUndo - Ctrl+Z", "ecRedo - Shift+Ctrl+Z", "ecGotoMarker0 - Ctrl+0", "ecGotoMarker1 - Ctrl+1",
        "ecGotoMarker2 - Ctrl+2", "ecGotoMarker3 - Ctrl+3", "ecGotoMarker4 - Ctrl+4", "ecGotoMarker5 - Ctrl+5",
        "ecGotoMarker6 - Ctrl+6", "ecGotoMarker7 - Ctrl+7", "ecGotoMarker8 - Ctrl+8", "ecGotoMarker9 - Ctrl+9",
        "ecSetMarker0 - Shift+Ctrl+0", "ecSetMarker1 - Shift+Ctrl+1", "ecSetMarker2 - Shift+Ctrl+2",
        "ecSetMarker3 - Shift+Ctrl+3", "ecSetMarker4 - Shift+Ctrl+4", "ecSetMarker5 - Shift+Ctrl+5",
        "ecSetMarker6 - Shift+Ctrl+6", "ecSetMarker7 - Shift+Ctrl+7", "ecSetMarker8 - Shift+Ctrl+8",
        "ecSetMarker9 - Shift+Ctrl+9", "ecNormalSelect - Shift+Ctrl+N", "ecColumnSelect - Shift+Ctrl+C",
        "ecLineSelect - Shift+Ctrl+L", "ecMatchBracket - Shift+Ctrl+B",
    };
    EXPECT_EQ(expected.size(), 82u);
    EXPECT_EQ(DisplayNames(strokes), expected);
    for (int i = 0; i < strokes.Count(); ++i) {
        EXPECT_EQ(strokes.Items(i)->Key2(), 0) << "all defaults are one-key";
    }
}

TEST(CodeEditKeyStrokes, FindKeycodeIgnoresTwoKeyBindings)
{
    TCodeEditKeyStrokes strokes(nullptr);
    TCodeEditKeyStroke* twoKey = strokes.Add();
    twoKey->SetCommand(ecUserFirst);
    twoKey->SetKey(VK_HOME);
    twoKey->SetShift(ssCtrl);
    twoKey->SetKey2('K');
    twoKey->SetShift2(ssCtrl);
    const int before = strokes.Count();
    TCodeEditKeyStrokes defaults(nullptr);
    defaults.SetDefaultKeys();
    for (int i = 0; i < defaults.Count(); ++i) {
        strokes.Add()->Assign(defaults.Items(i));
    }
    const int found = strokes.FindKeycode(VK_HOME, ssCtrl);
    ASSERT_GE(found, before);
    EXPECT_EQ(strokes.Items(found)->Command(), ecEditorTop);
    EXPECT_EQ(strokes.FindKeycode2(VK_HOME, ssCtrl, 'K', ssCtrl), 0);
    EXPECT_EQ(strokes.FindKeycode2(VK_HOME, ssCtrl, 'K', ssNone), -1);
    EXPECT_EQ(strokes.FindKeycode('Q', ssAlt), -1);
    EXPECT_EQ(strokes.FindShortcut(ShortCut('Z', ssCtrl | ssShift)), before + 57);
    EXPECT_EQ(strokes.FindShortcut2(ShortCut(VK_HOME, ssCtrl), ShortCut('K', ssCtrl)), 0);
    EXPECT_EQ(strokes.FindShortcut2(ShortCut(VK_HOME, ssCtrl), scNone), strokes.FindKeycode(VK_HOME, ssCtrl));
}

TEST(CodeEditKeyStrokes, DuplicateShortcutIsRefused)
{
    TCodeEditKeyStrokes strokes(nullptr);
    TCodeEditKeyStroke* first = strokes.Add();
    first->SetCommand(ecCopy);
    first->SetShortCut(ShortCut('C', ssCtrl));
    TCodeEditKeyStroke* second = strokes.Add();
    second->SetCommand(ecUserFirst);
    second->SetShortCut(ShortCut('D', ssCtrl));
    try {
        second->SetShortCut(ShortCut('C', ssCtrl));
        ADD_FAILURE() << "duplicate accepted";
    } catch (const ECodeKeyError& e) {
        EXPECT_STREQ(e.what(), "Shortcut already exists");
    }
    EXPECT_EQ(second->ShortCut(), ShortCut('D', ssCtrl)) << "nothing changes";

    EXPECT_NO_THROW(first->SetShortCut(ShortCut('C', ssCtrl))) << "its own shortcut again";
    EXPECT_NO_THROW(second->SetShortCut(scNone)) << "0 is never a duplicate";
    EXPECT_EQ(second->Key(), 0);

    // With a second key the pair differs, so the same first key is allowed...
    second->SetShortCut2(ShortCut('K', ssNone));
    EXPECT_NO_THROW(second->SetShortCut(ShortCut('C', ssCtrl)));
    EXPECT_EQ(second->DisplayName(), "ecUserFirst - Ctrl+C K");
    // ...but dropping the second key would make it equal to the first binding.
    EXPECT_THROW(first->SetShortCut2(ShortCut('K', ssNone)), ECodeKeyError);
}

TEST(CodeEditKeyStrokes, AssignCopiesBindingsInOrder)
{
    TCodeEditKeyStrokes source(nullptr);
    source.SetDefaultKeys();
    TCodeEditKeyStrokes copy(nullptr);
    copy.Add()->SetCommand(ecUserFirst);
    copy.Assign(&source);
    EXPECT_EQ(DisplayNames(copy), DisplayNames(source));
    EXPECT_NE(copy.Items(0), source.Items(0));

    TCodeEditKeyStroke* stroke = copy.Items(3);
    TCodeEditKeyStroke* other = copy.Items(4);
    other->Assign(stroke);
    EXPECT_EQ(other->Command(), stroke->Command());
    EXPECT_EQ(other->ShortCut(), stroke->ShortCut());
}

} // namespace
