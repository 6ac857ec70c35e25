// Modified means the text is not the one last marked saved (a load or a save): undo and
// redo back to that text leave the control unmodified, away from it modified; a text
// the undo list cannot name any more (trimmed off, or forced modified) stays modified
// until the next save. Whatever happens, an unmodified control holds the saved text, or
// closing a page would throw away what the user saw last.
#include "../EditorScriptSteps.h"
#include "../QtPrinters.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// A session that remembers the text it last marked saved and, after each step, checks
// that an unmodified control still holds it.
struct TSavingSession : TEditorSession {
    using TEditorSession::TEditorSession;

    void Save()
    {
        editor.SetModified(false);
        saved = Text();
    }
    void CheckUnmodifiedIsSaved(const std::string& where)
    {
        if (!editor.Modified()) {
            ASSERT_EQ(Text(), saved) << where << ": unmodified, yet not the saved text";
        }
    }

    QString saved = Text();
};

// The words of RunScript, and:
//   save  force        SetModified(false) (the text is saved), SetModified(true)
//   *  =               expect modified, unmodified
//   limit=N  clearundo the undo limit; ClearUndo
//   all=a>b            replace every "a" by "b"
//   open  close        a bracket record opening, closing a group
struct TModifiedCase {
    const char* name;
    const char* lines;
    const char* script;
    const char* text;
};

void PrintTo(const TModifiedCase& c, std::ostream* os) { *os << c.name; }

class ModifiedFollowsTheSavedText : public testing::TestWithParam<TModifiedCase> {};

TEST_P(ModifiedFollowsTheSavedText, ThroughEditsSavesUndoAndRedo)
{
    const TModifiedCase& c = GetParam();
    TSavingSession s(LinesOf(c.lines));
    TCodeEdit& e = s.editor;
    std::string done;
    for (const QString& word : QString::fromUtf8(c.script).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        done += (done.empty() ? "" : " ") + word.toStdString();
        if (word == QLatin1String("save")) {
            s.Save();
        } else if (word == QLatin1String("force")) {
            e.SetModified(true);
        } else if (word == QLatin1String("*") || word == QLatin1String("=")) {
            EXPECT_EQ(e.Modified(), word == QLatin1String("*")) << done << " (text '" << s.Text().toStdString() << "')";
        } else if (word.startsWith(QLatin1String("limit="))) {
            e.SetMaxUndo(word.mid(6).toInt());
        } else if (word == QLatin1String("clearundo")) {
            e.ClearUndo();
        } else if (word.startsWith(QLatin1String("all="))) {
            const QStringList pair = word.mid(4).split(QLatin1Char('>'));
            e.SearchAndReplace(pair[0], pair[1], {sroReplaceAll, sroEntireScope});
        } else if (word == QLatin1String("open") || word == QLatin1String("close")) {
            e.UndoList().AddChange(word == QLatin1String("open") ? 10 : 11, {}, {}, QString(), smNormal);
        } else {
            RunScript(s, word.toUtf8().constData());
        }
        s.CheckUnmodifiedIsSaved(done);
    }
    EXPECT_EQ(s.Text(), QString::fromUtf8(c.text));
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, ModifiedFollowsTheSavedText,
    testing::Values(
        // Saved, undone: the page differs from its file, so Save and the close question
        // must offer to write it; redone: it equals the file again.
        TModifiedCase{"UndoPastTheSave", "", "'x save = Ctrl+Z * Shift+Ctrl+Z = Ctrl+Z * save = Shift+Ctrl+Z *", "x"},
        TModifiedCase{"UndoBackToTheLoadedText", "ab", "@3,1 'x * Ctrl+Z = Shift+Ctrl+Z * Ctrl+Z =", "ab"},
        TModifiedCase{"OneUndoStepOverTheSave", "", "+GroupUndo 'a save 'b * Ctrl+Z * Shift+Ctrl+Z * save = Ctrl+Z *",
                      ""},
        TModifiedCase{"StepsAroundTheSave", "", "-GroupUndo 'a save 'b * Ctrl+Z = Ctrl+Z * Shift+Ctrl+Z = Shift+Ctrl+Z *",
                      "ab"},
        // Two undo steps, a cut and the typing over a selection that followed the save,
        // come back in one redo: it ends at the typing, not at the save.
        TModifiedCase{"ARedoTakesMoreThanOneUndoDid", "abcdef",
                      "+GroupUndo @3,1 <1,1 Ctrl+X save @3,1 <1,1 'X * Ctrl+Z = Ctrl+Z * Shift+Ctrl+Z * Ctrl+Z * "
                      "Shift+Ctrl+Z *",
                      "Xef"},
        TModifiedCase{"ALineBreakRedone", "ab|cd", "@2,1 Enter save BkSp * Ctrl+Z = Shift+Ctrl+Z * Ctrl+Z = Ctrl+Z * "
                      "Shift+Ctrl+Z =",
                      "a|b|cd"},
        TModifiedCase{"AReplaceAllSavedAndUndone", "row 1|row 2|a row",
                      "all=row>ROWX save = Ctrl+Z * Shift+Ctrl+Z = Ctrl+Z * save = Shift+Ctrl+Z *", "ROWX 1|ROWX 2|a ROWX"},
        // The replace-all's records pass the limit and drop the typing before it.
        TModifiedCase{"AReplaceAllPastTheLimit", "row|row|row",
                      "limit=3 'x all=row>R save Ctrl+Z * Shift+Ctrl+Z = Ctrl+Z Ctrl+Z *", "xrow|row|row"},
        TModifiedCase{"TheSaveTrimmedOff", "", "-GroupUndo limit=1 'a save 'b Ctrl+Z * Shift+Ctrl+Z * save =", "ab"},
        TModifiedCase{"TrimmedEmptyIsNotTheLoadedText", "", "-GroupUndo limit=1 'a 'b Ctrl+Z * Ctrl+Z *", "a"},
        TModifiedCase{"NoUndoAtAll", "", "limit=0 = 'a * save = 'b * Ctrl+Z * save =", "ab"},
        TModifiedCase{"UndoSwitchedOffWhenSaved", "", "'a save limit=0 = 'b * Ctrl+Z *", "ab"},
        TModifiedCase{"UndoSwitchedOffWhenChanged", "", "'a save 'b limit=0 * Ctrl+Z *", "ab"},
        TModifiedCase{"ClearUndoWhenSaved", "", "-GroupUndo 'a save clearundo = 'b * Ctrl+Z =", "a"},
        TModifiedCase{"ClearUndoWhenChanged", "", "-GroupUndo 'a save 'b clearundo * 'c * Ctrl+Z *", "ab"},
        // A new edit after undoing past the save drops the redo list and the way back.
        TModifiedCase{"ANewEditAfterUndoingPastTheSave", "",
                      "-GroupUndo 'a 'b save Ctrl+Z * 'c * Ctrl+Z * Shift+Ctrl+Z * Ctrl+Z Ctrl+Z *", ""},
        TModifiedCase{"ForcedUntilTheNextSave", "", "'a save force * Ctrl+Z * Shift+Ctrl+Z * save = Ctrl+Z * Shift+Ctrl+Z =",
                      "a"},
        TModifiedCase{"ABracketedGroup", "", "-GroupUndo 'a save open 'bc close * Ctrl+Z = Shift+Ctrl+Z * Ctrl+Z =", "a"},
        TModifiedCase{"ASaveInsideABracketedGroup", "", "-GroupUndo 'a open 'b save 'c close * Ctrl+Z * Shift+Ctrl+Z *",
                      "abc"}),
    [](const testing::TestParamInfo<TModifiedCase>& info) { return std::string(info.param.name); });

TEST(CodeEditModified, ReportedWhenUndoOrRedoCrossesTheSave)
{
    TSavingSession s({""});
    int reports = 0;
    s.editor.OnStatusChange = [&](TObject*, TCodeStatusChanges c) { reports += (c & scModified) ? 1 : 0; };
    RunScript(s, "'x");
    s.Save();
    for (const char* key : {"Ctrl+Z", "Shift+Ctrl+Z"}) {
        reports = 0;
        RunScript(s, key);
        EXPECT_EQ(reports, 1) << key;
    }
}

// Seeded random walks of edits (those whose undo gives back exactly what they changed,
// with the caret inside the text), saves, undo, redo and changes of the undo history:
// an unmodified control always holds the saved text.
TEST(CodeEditModified, RandomWalksNeverLeaveAnUnsavedTextUnmodified)
{
    const char* const edits[] = {"'a", "'_", "'Z(", "BkSp", "Del", "Enter", "Ctrl+T", "clipn=x~y_z Ctrl+V",
                                 "clipl=m~n Ctrl+V", "Shift+Ctrl+I", "Shift+Ctrl+U", "Tab", "Shift+Tab", "cmd=622"};
    for (unsigned seed = 1; seed <= 300; ++seed) {
        std::mt19937 random(seed);
        const auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
        TSavingSession s;
        TCodeEdit& e = s.editor;
        for (int n = pick(1, 5); n > 0; --n) {
            QString line;
            for (int k = pick(0, 8); k > 0; --k) {
                line += QStringLiteral("ab x(Y)z,1 ")[pick(0, 10)];
            }
            e.Lines().Add(line + QLatin1Char('q'));
        }
        e.SetOptions(e.Options().Set(eoGroupUndo, pick(0, 1) == 1));
        const int limits[] = {0, 2, 5, TCodeEditUndoList::DefaultMaxUndo};
        e.SetMaxUndo(limits[pick(1, 3)]);
        s.Save();
        std::string done;
        for (int n = 60; n > 0; --n) {
            const int action = pick(0, 99);
            if (action < 45) {
                e.SetInsertMode(true);
                e.SetSelectionMode(smNormal);
                const auto inside = [&] {
                    const int y = pick(1, e.LineCount());
                    return TTextPoint{pick(1, static_cast<int>(e.LineAt(y).size()) + 1), y};
                };
                const TTextPoint caret = inside();
                const TTextPoint end = pick(0, 3) == 0 ? inside() : caret;
                e.SetCaretAndSelection(end, caret, end);
                const char* edit = edits[pick(0, static_cast<int>(std::size(edits)) - 1)];
                RunScript(s, edit);
                done += std::string(" ") + edit;
            } else if (action < 47) {
                e.SearchAndReplace("a", "bb", {sroReplaceAll, sroEntireScope});
                done += " all";
            } else if (action < 67) {
                RunScript(s, "Ctrl+Z");
                done += " undo";
            } else if (action < 85) {
                RunScript(s, "Shift+Ctrl+Z");
                done += " redo";
            } else if (action < 95) {
                s.Save();
                done += " save";
            } else if (action < 97) {
                e.SetModified(true);
                done += " force";
            } else if (action < 98) {
                e.ClearUndo();
                done += " clearundo";
            } else {
                const int limit = limits[pick(0, 3)];
                e.SetMaxUndo(limit);
                done += " limit=" + std::to_string(limit);
            }
            s.CheckUnmodifiedIsSaved("seed " + std::to_string(seed) + ":" + done);
            if (testing::Test::HasFatalFailure()) {
                return;
            }
        }
    }
}

} // namespace
