#include "../EditorScriptSteps.h"
#include "../QtPrinters.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(CodeEditBookmarks, SettingChecksItsArgumentsAndMovesAnExistingMark)
{
    TEditorSession s(LinesOf("1|2|3|4|5"));
    for (const auto& [number, line] : {std::pair{3, 0}, std::pair{3, 6}, std::pair{10, 1}, std::pair{-1, 1}}) {
        s.editor.SetBookMark(number, 1, line);
    }
    EXPECT_EQ(s.editor.Marks().Count(), 0);
    s.editor.SetBookMark(3, 2, 4);
    const TCodeEditMark* mark = s.editor.BookMark(3);
    ASSERT_NE(mark, nullptr);
    EXPECT_EQ(std::vector<int>({mark->Line(), mark->Column(), mark->ImageIndex(), mark->BookmarkNumber()}),
              std::vector<int>({4, 2, 3, 3}));
    EXPECT_TRUE(mark->Visible() && mark->InternalImage());
    s.editor.SetBookMark(3, 1, 2);
    EXPECT_EQ(s.editor.Marks().Count(), 1);
    EXPECT_EQ(s.editor.BookMark(3)->Line(), 2);
    TComponent images;
    s.editor.BookMarkOptions().SetBookmarkImages(&images);
    s.editor.SetBookMark(4, 1, 1);
    EXPECT_FALSE(s.editor.BookMark(4)->InternalImage()) << "an image list draws it";
}

TEST(CodeEditBookmarks, HandlersMayCancelOrReplaceAndAreToldOfClearing)
{
    TEditorSession s(LinesOf("1|2|3"));
    s.editor.OnPlaceBookmark = [](TObject*, TCodeEditMark*& mark) { mark = nullptr; };
    s.editor.SetBookMark(1, 1, 1);
    EXPECT_EQ(s.editor.Marks().Count(), 0);
    TCodeEditMark* replacement = nullptr;
    s.editor.OnPlaceBookmark = [&](TObject*, TCodeEditMark*& mark) {
        replacement = new TCodeEditMark(&s.editor);
        replacement->SetLine(mark->Line() + 1);
        mark = replacement;
    };
    s.editor.SetBookMark(1, 1, 2);
    EXPECT_EQ(s.editor.BookMark(1), replacement);
    std::vector<int> cleared;
    s.editor.OnClearBookmark = [&](TObject*, TCodeEditMark* mark) {
        EXPECT_TRUE(s.editor.Marks().Contains(mark));
        cleared.push_back(mark->Line());
    };
    s.editor.ClearBookMark(1);
    s.editor.ClearBookMark(1);
    EXPECT_EQ(cleared, (std::vector<int>{3}));
}

TEST(CodeEditBookmarks, BookmarksFollowTheirLines)
{
    TEditorSession s(LinesOf("1|2|3|4|5|6|7|8|9|10"));
    s.editor.SetBookMark(0, 1, 6);
    s.editor.SetBookMark(1, 1, 9);
    s.editor.SetBookMark(2, 1, 2);
    RunScript(s, "@1,8 <1,5 Del");
    EXPECT_EQ(s.editor.BookMark(0)->Line(), 5) << "inside the deleted lines";
    EXPECT_EQ(s.editor.BookMark(1)->Line(), 6);
    RunScript(s, "@1,1 clipl=a~b~ Ctrl+V @3,4 BkSp @1,4 BkSp");
    EXPECT_EQ(s.editor.BookMark(2)->Line(), 3) << "two lines above, then joined upwards";
    RunScript(s, "@1,7 Ctrl+Y @1,1");
    s.editor.GotoBookMark(1);
    EXPECT_EQ(s.editor.CaretY(), 6) << "a deleted line's mark goes to the line above";
    s.editor.BookMark(1)->SetLine(20);
    RunScript(s, "@1,2");
    s.editor.GotoBookMark(1);
    EXPECT_EQ(s.State(), "caret 1,2") << "a mark beyond the text is not gone to";
}

TEST(CodeEditBookmarks, ClearAllEmptiesTheSlotsAndAFreedImageListIsDropped)
{
    TEditorSession s(LinesOf("1|2|3"));
    auto images = std::make_unique<TComponent>();
    s.editor.BookMarkOptions().SetBookmarkImages(images.get());
    s.editor.SetBookMark(1, 1, 2);
    s.editor.ClearAll();
    for (int n = 0; n <= 9; ++n) {
        EXPECT_EQ(s.editor.BookMark(n), nullptr) << n;
    }
    s.host.Forget();
    images.reset();
    EXPECT_EQ(s.editor.BookMarkOptions().BookmarkImages(), nullptr);
    EXPECT_FALSE(s.host.invalidated.empty()) << "the gutter is repainted";
}

} // namespace
