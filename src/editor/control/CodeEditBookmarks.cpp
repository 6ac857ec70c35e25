// The ten numbered bookmarks: marks of the control's mark list that a slot per number
// also points at. A slot empties when its mark leaves the list (MarkListChanged).
#include "editor/control/CodeEdit.h"

#include <algorithm>

TCodeEditMark* TCustomCodeEdit::BookMark(int number) const
{
    return number >= 0 && number <= 9 ? bookmarks_[static_cast<std::size_t>(number)] : nullptr;
}

void TCustomCodeEdit::SetBookMark(int number, int column, int line)
{
    if (number < 0 || number > 9 || line < 1 || line > std::max(1, LineCount())) {
        return;
    }
    auto offered = std::make_unique<TCodeEditMark>(this);
    offered->SetLine(line);
    offered->SetColumn(column);
    offered->SetImage(number);
    offered->SetBookmarkNumber(number);
    offered->SetInternalImage(bookMarkOptions_->BookmarkImages() == nullptr);
    // The handler may cancel the mark (nullptr) or put one of its own, made with new,
    // in its place; the editor owns whichever remains. The mark shows once it is in
    // the list: a mark outside its editor's list forgets the editor.
    TCodeEditMark* mark = offered.get();
    FirePlaceBookmark(mark);
    if (mark != offered.get()) {
        offered.reset();
    } else {
        offered.release();
    }
    if (!mark) {
        return;
    }
    std::unique_ptr<TCodeEditMark> owned(mark);
    ClearBookMark(number);
    bookmarks_[static_cast<std::size_t>(number)] = marks_->Add(std::move(owned));
    mark->SetVisible(true);
}

void TCustomCodeEdit::ClearBookMark(int number)
{
    TCodeEditMark* mark = BookMark(number);
    if (!mark) {
        return;
    }
    FireClearBookmark(mark);
    bookmarks_[static_cast<std::size_t>(number)] = nullptr;
    marks_->Remove(mark);
}

void TCustomCodeEdit::GotoBookMark(int number)
{
    const TCodeEditMark* mark = BookMark(number);
    if (!mark || mark->Line() > LineCount()) {
        return;
    }
    PlaceCaret(false, TTextPoint{mark->Column(), mark->Line()});
    if (SelAvail()) {
        SetBlockBegin(CaretXY());
    }
    EnsureCursorPosVisibleEx(true);
}

// The marker keys: the same key on the same line takes the bookmark away, on another
// line moves it.
void TCustomCodeEdit::ToggleBookMark(int number, const TCodeEditCommandData& data)
{
    const TTextPoint* point = CommandPoint(data);
    const TTextPoint at = point ? *point : CaretXY();
    if (const TCodeEditMark* mark = BookMark(number)) {
        const int line = mark->Line();
        ClearBookMark(number);
        if (line != at.y) {
            SetBookMark(number, at.x, at.y);
        }
        return;
    }
    SetBookMark(number, at.x, at.y);
}
