#include "EditorSession.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Lines 1..n of a small program.
QStringList Numbered(int count)
{
    QStringList lines;
    for (int i = 1; i <= count; ++i) {
        lines.append(QString::number(i));
    }
    return lines;
}

TEST(CodeEditBookmarks, NumbersAndLinesOutsideTheirRangeAreIgnored)
{
    TEditorSession s(Numbered(3));
    s.editor.SetBookMark(3, 1, 0);
    s.editor.SetBookMark(3, 1, 4);
    s.editor.SetBookMark(10, 1, 1);
    s.editor.SetBookMark(-1, 1, 1);
    EXPECT_EQ(s.editor.Marks().Count(), 0);
    TEditorSession empty;
    empty.editor.SetBookMark(0, 1, 1);
    EXPECT_NE(empty.editor.BookMark(0), nullptr) << "an empty buffer still has line 1";
}

TEST(CodeEditBookmarks, ABookmarkIsAVisibleMarkOfItsNumber)
{
    TEditorSession s(Numbered(5));
    s.editor.SetBookMark(3, 2, 4);
    const TCodeEditMark* mark = s.editor.BookMark(3);
    ASSERT_NE(mark, nullptr);
    EXPECT_EQ(mark->Line(), 4);
    EXPECT_EQ(mark->Column(), 2);
    EXPECT_EQ(mark->ImageIndex(), 3);
    EXPECT_EQ(mark->BookmarkNumber(), 3);
    EXPECT_TRUE(mark->Visible());
    EXPECT_TRUE(mark->InternalImage()) << "no image list";
    s.editor.SetBookMark(3, 1, 2);
    EXPECT_EQ(s.editor.Marks().Count(), 1) << "set again, it moves";
    EXPECT_EQ(s.editor.BookMark(3)->Line(), 2);

    TComponent images;
    s.editor.BookMarkOptions().SetBookmarkImages(&images);
    s.editor.SetBookMark(4, 1, 1);
    EXPECT_FALSE(s.editor.BookMark(4)->InternalImage());
}

TEST(CodeEditBookmarks, ThePlaceEventMayCancelOrReplace)
{
    TEditorSession s(Numbered(5));
    s.editor.OnPlaceBookmark = [](TObject*, TCodeEditMark*& mark) { mark = nullptr; };
    s.editor.SetBookMark(1, 1, 1);
    EXPECT_EQ(s.editor.BookMark(1), nullptr);
    EXPECT_EQ(s.editor.Marks().Count(), 0);

    TCodeEditMark* replacement = nullptr;
    s.editor.OnPlaceBookmark = [&](TObject*, TCodeEditMark*& mark) {
        replacement = new TCodeEditMark(&s.editor);
        replacement->SetLine(mark->Line() + 1);
        mark = replacement;
    };
    s.editor.SetBookMark(1, 1, 2);
    EXPECT_EQ(s.editor.BookMark(1), replacement);
    EXPECT_EQ(s.editor.BookMark(1)->Line(), 3);
}

TEST(CodeEditBookmarks, ClearingTellsTheHandlerFirst)
{
    TEditorSession s(Numbered(5));
    s.editor.SetBookMark(2, 1, 3);
    std::vector<int> cleared;
    s.editor.OnClearBookmark = [&](TObject*, TCodeEditMark* mark) {
        ASSERT_TRUE(s.editor.Marks().Contains(mark));
        cleared.push_back(mark->BookmarkNumber());
    };
    s.editor.ClearBookMark(2);
    s.editor.ClearBookMark(2);
    s.editor.ClearBookMark(11);
    EXPECT_EQ(cleared, (std::vector<int>{2}));
    EXPECT_EQ(s.editor.Marks().Count(), 0);
}

TEST(CodeEditBookmarks, BookmarksFollowInsertedAndDeletedLines)
{
    TEditorSession s(Numbered(10));
    s.editor.SetBookMark(0, 1, 6);
    s.editor.SetBookMark(1, 1, 9);
    s.editor.SetBookMark(2, 1, 2);
    // Lines 5 to 7 go: a mark inside moves to 5, one below moves up by three.
    s.Select({1, 5}, {1, 8});
    s.Press("Del");
    EXPECT_EQ(s.editor.BookMark(0)->Line(), 5);
    EXPECT_EQ(s.editor.BookMark(1)->Line(), 6);
    s.editor.SetCaretAndSelection({1, 1}, {1, 1}, {1, 1});
    s.ClipboardBlock(smLine, "a\r\nb\r\n");
    s.Press("Ctrl+V");
    EXPECT_EQ(s.editor.BookMark(2)->Line(), 4);
    EXPECT_EQ(s.editor.BookMark(1)->Line(), 8);
    s.editor.SetCaretXY({1, 8});
    s.Press("Ctrl+Y");
    s.editor.SetCaretXY({1, 1});
    s.editor.GotoBookMark(1);
    EXPECT_EQ(s.editor.CaretY(), 7) << "a deleted line's mark goes to the line above";
}

TEST(CodeEditBookmarks, GoingToAMarkBeyondTheTextDoesNothing)
{
    TEditorSession s(Numbered(5));
    s.editor.SetBookMark(7, 1, 5);
    s.editor.BookMark(7)->SetLine(9);
    s.editor.SetCaretXY({1, 2});
    s.editor.GotoBookMark(7);
    EXPECT_EQ(s.State(), "caret 1,2");
}

TEST(CodeEditBookmarks, ClearAllEmptiesTheSlots)
{
    TEditorSession s(Numbered(5));
    s.editor.SetBookMark(1, 1, 2);
    s.editor.SetBookMark(2, 1, 3);
    s.editor.ClearAll();
    for (int n = 0; n <= 9; ++n) {
        EXPECT_EQ(s.editor.BookMark(n), nullptr) << n;
    }
    s.editor.Lines().Add("x");
    s.editor.GotoBookMark(1);
    s.editor.ClearBookMark(2);
    EXPECT_EQ(s.State(), "caret 1,1");
}

TEST(CodeEditBookmarks, AFreedImageListIsDropped)
{
    TEditorSession s(Numbered(2));
    auto images = std::make_unique<TComponent>();
    s.editor.BookMarkOptions().SetBookmarkImages(images.get());
    s.host.Forget();
    images.reset();
    EXPECT_EQ(s.editor.BookMarkOptions().BookmarkImages(), nullptr);
    EXPECT_FALSE(s.host.invalidated.empty()) << "the gutter is repainted";
}

} // namespace
