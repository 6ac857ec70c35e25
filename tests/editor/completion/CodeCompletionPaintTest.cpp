// The completion pop-up's drawing read back from a recording canvas, and the route that
// hands the editor's keys to an open list.
#include "../../support/RecordingCanvas.h"
#include "../EditorSession.h"
#include "editor/completion/CodeCompletionKeyRoute.h"
#include "editor/completion/CodeCompletionPaint.h"
#include "editor/completion/CodeCompletionProposal.h"

#include <gtest/gtest.h>

namespace {

using testsupport::TCanvasCall;
using testsupport::TRecordingCanvas;

// Texts drawn, as "text@x,top colour" (top = baseline - 13 on the recording canvas).
std::vector<std::string> Texts(const TRecordingCanvas& canvas)
{
    std::vector<std::string> out;
    for (const TCanvasCall& c : canvas.Calls(TCanvasCall::Text)) {
        std::string colour = c.textColor == clHighlightText ? "selected"
                             : c.textColor == clRed         ? "red"
                             : c.textColor == clBtnText     ? "title"
                                                            : "plain";
        if (c.font.style & TFont::fsBold) {
            colour += " bold";
        }
        out.push_back(c.Utf8Text() + "@" + std::to_string(c.x) + "," + std::to_string(c.y - 13) + " " + colour);
    }
    return out;
}

std::vector<TRect> Fills(const TRecordingCanvas& canvas, TColor color)
{
    std::vector<TRect> out;
    for (const TCanvasCall& c : canvas.Calls(TCanvasCall::Fill)) {
        if (c.color == color) {
            out.push_back(c.rect);
        }
    }
    return out;
}

// Items 13 pixels high on the fixed window; the pop-up is 262 wide.
class CodeCompletionPaint : public ::testing::Test {
protected:
    CodeCompletionPaint()
    {
        form.SetItemList({"print", "prompt", "goto"});
        form.SelectItem(1);
        form.SetBounds(Rect(0, 0, 262, 0));
        form.SetLinesInWindow(2);
    }
    TRecordingCanvas Paint()
    {
        TRecordingCanvas canvas;
        PaintCompletionPopup(form, canvas, form.Bounds().Width(), form.Bounds().Height());
        return canvas;
    }
    TCodeBaseCompletionProposalForm form;
};

TEST_F(CodeCompletionPaint, RowsBelowTheTitleTheSelectedOneInItsColours)
{
    form.SetTitle("Code Insert");
    form.SetFlags({scoTitleIsCentered});
    const int bar = form.TitleBarHeight(); // 15
    const TRecordingCanvas canvas = Paint();
    EXPECT_EQ(Texts(canvas), (std::vector<std::string>{"print@3," + std::to_string(bar + 1) + " plain",
                                                       "prompt@3," + std::to_string(bar + 14) + " selected",
                                                       "Code Insert@87,2 title bold"}));
    EXPECT_EQ(Fills(canvas, clHighlight), (std::vector<TRect>{Rect(1, bar + 14, 1 + form.Layout().bitmapWidth, bar + 27)}));
    EXPECT_EQ(Fills(canvas, clBtnFace), (std::vector<TRect>{Rect(1, 1, 261, bar + 1)}));
    // The frame, then the bevel: light above and left, shadow below and right.
    const std::vector<TCanvasCall> lines = canvas.Calls(TCanvasCall::Polyline);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].points[2], (TPoint{261, form.Bounds().Height() - 1}));
    EXPECT_EQ(lines[1].pen.color, clBtnHighlight);
    EXPECT_EQ(lines[2].points[1], (TPoint{260, bar}));
    form.SetFlags({});
    form.SetScrollPosition(1);
    EXPECT_EQ(Texts(Paint()), (std::vector<std::string>{"prompt@3," + std::to_string(bar + 1) + " selected",
                                                        "goto@3," + std::to_string(bar + 14) + " plain",
                                                        "Code Insert@2,2 title bold"}))
        << "scrolled by one row; the title at x 2";
}

TEST_F(CodeCompletionPaint, PrettyTextIsColouredExceptOnTheSelectedRow)
{
    form.SetFlags({scoUsePrettyText});
    const QString coloured = QString(QChar(1)) + QChar(255) + QChar(0) + QChar(0) + "red\tcol";
    form.SetItemList({coloured, coloured});
    form.SelectItem(1);
    // The biggest word "CONSTRUCTOR" is 88 wide: the second column starts at 89.
    EXPECT_EQ(Texts(Paint()), (std::vector<std::string>{"red@2,1 red", "col@89,1 red bold", "red@2,14 selected",
                                                        "col@89,14 selected bold"}));
    bool asked = false;
    form.OnPaintItem = [&](int index, TCanvas&, const TRect& rect, bool& custom) {
        custom = index == 0;
        asked = asked || rect.Top == 1;
    };
    EXPECT_EQ(Texts(Paint()).size(), 2u) << "the custom-drawn row draws no text of ours";
    EXPECT_TRUE(asked);
}

TEST_F(CodeCompletionPaint, HintsShowEveryItemAndMarkTheParameter)
{
    form.SetKind(ctParams);
    form.SetItemList({"x, y, z"});
    form.SetCurrentIndex(1);
    EXPECT_EQ(Texts(Paint()), (std::vector<std::string>{"x, @4,2 plain", "y@28,2 plain bold", ", z@37,2 plain"}));
}

// An editor whose list is open keeps its keys and hands them on.
class CodeCompletionKeyRouteTest : public ::testing::Test {
protected:
    CodeCompletionKeyRouteTest()
    {
        list.AddEditor(&s.editor);
        list.SetOptions({scoLimitToMatchedText, scoEndCharCompletion});
        list.SetItemList({"print", "prompt", "goto"});
        route.Attach(&s.editor);
    }
    TEditorSession s;
    TCodeCompletionProposal list;
    TCodeCompletionKeyRoute route{list.Form()};
};

TEST_F(CodeCompletionKeyRouteTest, KeysGoToTheOpenListAndItsUsedKeysTypeNothing)
{
    s.Press("Ctrl+Space");
    ASSERT_TRUE(list.Form().Visible());
    EXPECT_EQ(s.Text(), "") << "the shortcut's blank is swallowed";
    s.Press({"P", "R"});
    EXPECT_EQ(list.Form().ItemList(), (QStringList{"print", "prompt"}));
    EXPECT_EQ(s.Text(), "pr");
    s.Press({"Down", "Enter"});
    EXPECT_FALSE(list.Form().Visible());
    EXPECT_EQ(s.Text(), "prompt") << "no line break after the accepting Enter";
    s.Press({"Enter", "X"});
    EXPECT_EQ(s.Text(), "prompt|x") << "closed, the editor has its keys again";
    // Left closes the list and moves the caret; it makes no character, so the next one counts.
    s.Press({"Ctrl+Space", "Left", "Y"});
    EXPECT_EQ(s.Text(), "prompt|yx");
    // A freed editor leaves the route.
    auto other = std::make_unique<TCodeEdit>();
    route.Attach(other.get());
    other.reset();
    EXPECT_EQ(route.Editor(), nullptr);
}

} // namespace
