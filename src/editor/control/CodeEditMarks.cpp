#include "editor/control/CodeEditMarks.h"

#include "editor/control/CodeEdit.h"

#include <algorithm>

TCodeEditMark::TCodeEditMark(TCustomCodeEdit* editor) : editor_(editor) {}

TCustomCodeEdit* TCodeEditMark::GetEdit()
{
    if (editor_ && !editor_->Marks().Contains(this)) {
        editor_ = nullptr;
    }
    return editor_;
}

void TCodeEditMark::RepaintLine(int line)
{
    if (visible_ && GetEdit()) {
        editor_->InvalidateGutterLines(line, line);
    }
}

void TCodeEditMark::SetLine(int line)
{
    if (line == line_) {
        return;
    }
    const int old = line_;
    line_ = line;
    RepaintLine(old);
    RepaintLine(line);
}

void TCodeEditMark::SetImage(int index)
{
    imageIndex_ = index;
    RepaintLine(line_);
}

void TCodeEditMark::SetVisible(bool visible)
{
    if (visible_ == visible) {
        return;
    }
    // Repainted while visible, so both showing and hiding reach the gutter.
    visible_ = true;
    RepaintLine(line_);
    visible_ = visible;
}

void TCodeEditMark::SetInternalImage(bool on)
{
    internalImage_ = on;
    RepaintLine(line_);
}

bool TCodeEditMarkList::Contains(const TCodeEditMark* mark) const
{
    return std::any_of(marks_.begin(), marks_.end(), [mark](const auto& m) { return m.get() == mark; });
}

void TCodeEditMarkList::Changed()
{
    if (OnChange) {
        OnChange(this);
    }
}

TCodeEditMark* TCodeEditMarkList::Add(std::unique_ptr<TCodeEditMark> mark)
{
    TCodeEditMark* added = mark.get();
    marks_.push_back(std::move(mark));
    Changed();
    return added;
}

std::unique_ptr<TCodeEditMark> TCodeEditMarkList::Remove(TCodeEditMark* mark)
{
    const auto it = std::find_if(marks_.begin(), marks_.end(), [mark](const auto& m) { return m.get() == mark; });
    if (it == marks_.end()) {
        return nullptr;
    }
    std::unique_ptr<TCodeEditMark> removed = std::move(*it);
    marks_.erase(it);
    Changed();
    return removed;
}

void TCodeEditMarkList::Clear()
{
    if (marks_.empty()) {
        return;
    }
    marks_.clear();
    Changed();
}

void TCodeEditMarkList::GetMarksForLine(int line, TLineMarks& marks) const
{
    marks.fill(nullptr);
    int n = 0;
    for (const auto& mark : marks_) {
        if (mark->Line() == line) {
            marks[static_cast<std::size_t>(n++)] = mark.get();
            if (n == MarksPerLine) {
                break;
            }
        }
    }
}

void TCodeEditMarkList::LinesInserted(int first, int count)
{
    for (const auto& mark : marks_) {
        if (mark->Line() >= first) {
            mark->SetLine(mark->Line() + count);
        }
    }
}

void TCodeEditMarkList::LinesDeleted(int first, int count)
{
    for (const auto& mark : marks_) {
        if (mark->Line() >= first + count) {
            mark->SetLine(mark->Line() - count);
        } else if (mark->Line() > first) {
            mark->SetLine(first);
        }
    }
}
