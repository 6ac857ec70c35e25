#include "app/pages/EditorPageText.h"
#include "app/pages/PageFiles.h"
#include "app/pages/SearchDialogs.h"

#include "../../support/TempFolderTest.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

struct TTextCase {
    const char* Input;
    const char* Expected;
};

TEST(CommentText, MarksEverySelectedLine)
{
    const TTextCase cases[] = {
        {"X\r\nY", "'X\r\n'Y"},
        {"", "'"},
        // A selection that ends at a line start marks that line too.
        {"X\r\n", "'X\r\n'"},
        // An empty line in the selection stays one line.
        {"X\r\n\r\nY", "'X\r\n'\r\n'Y"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CommentText(c.Input), c.Expected) << c.Input;
    }
}

TEST(UnCommentText, TakesOneMarkOrRemFromEachLine)
{
    const TTextCase cases[] = {
        {"  \r\n'X", "  \r\nX"},
        {"rem X", " X"},
        {"X'Y", "X'Y"},
        {"  ''X\r\nREMARK", "  'X\r\nARK"},
        {"'A\n'B\r'C", "A\r\nB\r\nC"},
        // The selection's own final break stays; none is added.
        {"'A\r\n'B\r\n", "A\r\nB\r\n"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UnCommentText(c.Input), c.Expected) << c.Input;
    }
}

TEST(SplitNewFileText, TakesTheTildesAsLineBreaks)
{
    EXPECT_EQ(SplitNewFileText("A~B~C"), (QStringList{"A", "B", "C"}));
    EXPECT_EQ(SplitNewFileText("A~B~"), (QStringList{"A", "B"}));
    EXPECT_EQ(SplitNewFileText("ABC"), QStringList{"ABC"});
    EXPECT_EQ(SplitNewFileText("~~"), (QStringList{"", ""}));
    EXPECT_TRUE(SplitNewFileText("").isEmpty());
}

TEST(BreakpointLines, ToggleKeepsThemOrdered)
{
    std::vector<int> lines{3, 9};
    EXPECT_TRUE(ToggleBreakpointLine(lines, 7));
    EXPECT_EQ(lines, (std::vector<int>{3, 7, 9}));
    EXPECT_TRUE(ToggleBreakpointLine(lines, 7));
    EXPECT_EQ(lines, (std::vector<int>{3, 9}));
    EXPECT_FALSE(ToggleBreakpointLine(lines, 0));
    EXPECT_TRUE(ToggleBreakpointLine(lines, 1000));
    EXPECT_EQ(lines, (std::vector<int>{3, 9, 1000}));
    EXPECT_TRUE(HasBreakpointLine(lines, 9));
    EXPECT_FALSE(HasBreakpointLine(lines, 4));
}

TEST(ConfirmReplacePosition, GoesBesideTheMatchInsideTheEditor)
{
    const QRect editor(100, 200, 600, 300);
    const QSize dialog(328, 98);
    // Upper part: below the line; lower third (the line ends below 200 + 200): above.
    EXPECT_EQ(ConfirmReplacePosition(editor, dialog, 150, 250, 266), QPoint(150, 270));
    EXPECT_EQ(ConfirmReplacePosition(editor, dialog, 150, 390, 401), QPoint(150, 390 - 98 - 4));
    EXPECT_EQ(ConfirmReplacePosition(editor, dialog, 150, 384, 400), QPoint(150, 404));
    // Kept inside the right edge, or centred over an editor no wider than the dialog.
    EXPECT_EQ(ConfirmReplacePosition(editor, dialog, 600, 250, 266).x(), 700 - 328);
    EXPECT_EQ(ConfirmReplacePosition(QRect(100, 200, 200, 300), dialog, 150, 250, 266).x(), 100 - 64);
}

class SameFileName : public testsupport::TTempFolderTest {};

TEST_F(SameFileName, OneFileOnePage)
{
    WriteText("a.sbp", "A");
    WriteText("b.SBP", "b");
    WriteText("B.sbp", "B");
    const QString a = QString::fromStdString(Path("a.sbp"));
    EXPECT_TRUE(::SameFileName(a, a));
    // Another name of the same file.
    std::filesystem::create_directory(folder / "x");
    EXPECT_TRUE(::SameFileName(a, QString::fromStdString(Path("x/../a.sbp"))));
    // Only the case differs and no file of the asked name exists.
    EXPECT_TRUE(::SameFileName(a, QString::fromStdString(Path("A.SBP"))));
    // Two real files that differ in case.
    EXPECT_FALSE(::SameFileName(QString::fromStdString(Path("b.SBP")), QString::fromStdString(Path("B.sbp"))));
    EXPECT_FALSE(::SameFileName(QString(), QString()));
}

} // namespace
