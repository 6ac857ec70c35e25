// Seeded random editing scripts, shorter than the undo limit, with the caret always
// inside the text: undoing everything must give back the starting text exactly, and
// redoing everything the text the script made.
#include "../EditorScriptSteps.h"
#include "../QtPrinters.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// Steps that record all they change; blanks padded past a line end and lines added by
// a column paste are not recorded, so the script never asks for them.
const char* const kSteps[] = {"'a", "'_", "'Z(", "BkSp", "Del", "Enter", "Ctrl+T", "clipn=x", "clipn=x~y_z Ctrl+V",
                              "clipl=__q~ Ctrl+V", "clipl=m~n Ctrl+V", "Shift+Ctrl+I", "Shift+Ctrl+U", "Tab",
                              "Shift+Tab", "cmd=620", "cmd=621", "cmd=622", "cmd=623", "overwrite 'W"};

// The defaults, the page settings, and the page settings on lines longer than the
// page's 256 columns.
enum TRandomSetting { rsDefaults, rsPage, rsPageLongLines };

class UndoRedoRandom : public testing::TestWithParam<TRandomSetting> {};

TEST_P(UndoRedoRandom, UndoingAllRestoresTheStartAndRedoingAllTheEnd)
{
    for (unsigned seed = 1; seed <= 300; ++seed) {
        std::mt19937 random(seed);
        const auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
        TEditorSession s;
        TCodeEdit& e = s.editor;
        if (GetParam() != rsDefaults) {
            UsePageSettings(e);
        }
        // Lines without trailing blanks, which the trimming would change unrecorded.
        for (int n = pick(1, 6); n > 0; --n) {
            QString line(pick(0, 6), QLatin1Char(' '));
            for (int k = pick(0, 8); k > 0; --k) {
                line += QStringLiteral("ab x(Y)z,1 ")[pick(0, 10)];
            }
            if (GetParam() == rsPageLongLines) {
                line.prepend(QString(pick(250, 700), QLatin1Char('x')));
            }
            e.Lines().Add(pick(0, 5) == 0 ? QString() : line + QLatin1Char('q'));
        }
        const auto inside = [&] {
            const int y = pick(1, e.LineCount());
            return TTextPoint{pick(1, static_cast<int>(e.LineAt(y).size()) + 1), y};
        };
        const QString start = s.Text();
        for (int n = pick(1, 40); n > 0; --n) {
            e.SetInsertMode(true);
            e.SetSelectionMode(smNormal);
            const TTextPoint caret = inside();
            const TTextPoint end = pick(0, 3) == 0 ? inside() : caret;
            e.SetSelectionMode(static_cast<TCodeSelectionMode>(pick(0, 2)));
            e.SetCaretAndSelection(end, caret, end);
            const int step = pick(0, std::size(kSteps) - 1);
            const int pieces = step == 0 ? 1 : pick(1, 3);
            if (pick(0, 4) == 0) {
                // A column block that lands on lines long enough to take it.
                const int column = e.CharToDisplayColumn(e.CaretY(), e.CaretX());
                bool fits = !e.SelAvail() && e.CaretY() + pieces - 1 <= e.LineCount();
                for (int y = e.CaretY(); fits && y < e.CaretY() + pieces; ++y) {
                    fits = e.LineAt(y).size() >= column - 1;
                }
                if (fits) {
                    RunScript(s, pieces == 1 ? "clipc=K Ctrl+V" : pieces == 2 ? "clipc=K~L Ctrl+V" : "clipc=KK~L~M Ctrl+V");
                }
            } else if (!(std::string(kSteps[step]) == "overwrite 'W" && (e.SelAvail() || e.CaretX() > e.GetLineText().size()))) {
                RunScript(s, kSteps[step]);
            }
        }
        const QString finish = s.Text();
        const std::string records = s.UndoRecords();
        while (e.CanUndo()) {
            e.Undo();
        }
        ASSERT_EQ(s.Text(), start) << "seed " << seed << ": " << records;
        while (e.CanRedo()) {
            e.Redo();
        }
        ASSERT_EQ(s.Text(), finish) << "seed " << seed << ": " << records;
    }
}

std::string SettingName(const testing::TestParamInfo<TRandomSetting>& info)
{
    return info.param == rsDefaults ? "Defaults" : info.param == rsPage ? "PageSettings" : "PageSettingsLongLines";
}

INSTANTIATE_TEST_SUITE_P(Settings, UndoRedoRandom, testing::Values(rsDefaults, rsPage, rsPageLongLines), SettingName);

} // namespace
