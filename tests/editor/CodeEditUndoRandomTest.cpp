// Seeded random editing scripts, shorter than the undo limit, with the caret always
// inside the text: undoing everything must give back the starting text exactly, and
// redoing everything the text the script made.
#include "EditorPageSettings.h"
#include "EditorSession.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <random>

namespace {

class TScript {
public:
    TScript(TEditorSession& session, unsigned seed) : s_(session), random_(seed) {}

    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

    // A line without trailing blanks (the trimming options would change it unrecorded).
    QString Line()
    {
        if (Pick(0, 5) == 0) {
            return QString();
        }
        static const QString inner = QStringLiteral("ab x(Y)z,1 ");
        QString line(Pick(0, 6), QLatin1Char(' '));
        for (int n = Pick(0, 8); n > 0; --n) {
            line += inner[Pick(0, static_cast<int>(inner.size()) - 1)];
        }
        return line + QLatin1Char("qrs"[Pick(0, 2)]);
    }

    TTextPoint Inside()
    {
        const int y = Pick(1, s_.editor.LineCount());
        return TTextPoint{Pick(1, static_cast<int>(s_.editor.LineAt(y).size()) + 1), y};
    }

    void Command(TCodeEditorCommand command, QChar c = QChar()) { s_.editor.DispatchCommand(command, c, {}); }

    void Step()
    {
        TCodeEdit& e = s_.editor;
        e.SetInsertMode(true);
        e.SetSelectionMode(smNormal);
        const TTextPoint caret = Inside();
        e.SetCaretAndSelection(caret, caret, caret);
        const int kind = Pick(0, 99);
        if (kind < 12) {
            // A selection first, in any mode, then one of the commands below. A column
            // that cuts through a tab cannot be put back as it was: no columns over tabs.
            const TTextPoint end = Inside();
            auto mode = static_cast<TCodeSelectionMode>(Pick(0, 2));
            for (int y = std::min(caret.y, end.y); y <= std::max(caret.y, end.y) && mode == smColumn; ++y) {
                mode = e.LineAt(y).contains(QLatin1Char('\t')) ? smNormal : mode;
            }
            e.SetSelectionMode(mode);
            e.SetCaretAndSelection(end, caret, end);
        }
        switch (Pick(0, 13)) {
        case 0:
        case 1: Command(ecChar, QLatin1Char("ab Z1("[Pick(0, 5)])); break;
        case 2: Command(ecDeleteLastChar); break;
        case 3: Command(ecDeleteChar); break;
        case 4: Command(ecLineBreak); break;
        case 5:
        case 6: {
            static const char* const texts[] = {"x", "x\r\ny", "  q\r\n", "m\r\nn\r\n", "p\r\n\r\nr"};
            const auto mode = static_cast<TCodeSelectionMode>(Pick(0, 2));
            const QString text = QString::fromLatin1(texts[Pick(0, 4)]);
            // A column block must land on lines long enough to take it: blanks padded
            // and lines added are not recorded.
            if (mode == smColumn && !ColumnFits(text)) {
                return;
            }
            s_.ClipboardBlock(mode, text);
            Command(ecPaste);
            break;
        }
        case 7:
        case 8: {
            const TTextPoint end = Inside();
            e.SetCaretAndSelection(end, caret, end);
            Command(Pick(0, 1) == 0 ? ecBlockIndent : ecBlockUnindent);
            break;
        }
        case 9: Command(ecTab); break;
        case 10: Command(ecShiftTab); break;
        case 11: Command(static_cast<TCodeEditorCommand>(ecUpperCase + Pick(0, 3))); break;
        case 12:
            if (!e.SelAvail() && e.CaretX() <= e.GetLineText().size()) {
                e.SetInsertMode(false);
                Command(ecChar, QLatin1Char('W'));
            }
            break;
        default: Command(ecDeleteWord); break;
        }
    }

private:
    bool ColumnFits(const QString& text)
    {
        TCodeEdit& e = s_.editor;
        const int pieces = static_cast<int>(text.split(QStringLiteral("\r\n")).size());
        if (e.SelAvail() || e.CaretY() + pieces - 1 > e.LineCount()) {
            return false;
        }
        const int column = e.CharToDisplayColumn(e.CaretY(), e.CaretX());
        for (int y = e.CaretY(); y < e.CaretY() + pieces; ++y) {
            if (e.Lines().GetExpandedString(y - 1).size() < column - 1) {
                return false;
            }
        }
        return true;
    }

    TEditorSession& s_;
    std::mt19937 random_;
};

class UndoRedoRandom : public testing::TestWithParam<bool> {};

TEST_P(UndoRedoRandom, UndoingAllRestoresTheStartAndRedoingAllTheEnd)
{
    const bool page = GetParam();
    for (unsigned seed = 1; seed <= 300; ++seed) {
        TEditorSession s;
        TScript script(s, seed);
        if (page) {
            UsePageSettings(s.editor);
        }
        for (int n = script.Pick(1, 6); n > 0; --n) {
            s.editor.Lines().Add(script.Line());
        }
        const QString start = s.Text();
        for (int n = script.Pick(1, 40); n > 0; --n) {
            script.Step();
        }
        const QString end = s.Text();
        const std::string records = s.UndoRecords();
        while (s.editor.CanUndo()) {
            s.editor.Undo();
        }
        ASSERT_EQ(s.Text(), start) << "seed " << seed << ": " << records;
        while (s.editor.CanRedo()) {
            s.editor.Redo();
        }
        ASSERT_EQ(s.Text(), end) << "seed " << seed << ": " << records;
    }
}

INSTANTIATE_TEST_SUITE_P(Settings, UndoRedoRandom, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "PageSettings" : "Defaults");
                         });

} // namespace
