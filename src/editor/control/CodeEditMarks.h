#pragma once
// Marks in the gutter: the ten bookmarks and any other mark an owner places on a line.
// The editor's mark list owns them and moves them when lines are inserted or deleted.

#include "platform/core/objects/Delegate.h"
#include "platform/core/objects/Object.h"

#include <array>
#include <memory>
#include <vector>

class TCustomCodeEdit;
class TCodeEditMarkList;

class TCodeEditMark : public TObject {
    KP_CLASS(TCodeEditMark, TObject)
public:
    explicit TCodeEditMark(TCustomCodeEdit* editor);

    // The editor, but only while the mark is in that editor's list; a mark taken out of
    // the list forgets its editor.
    virtual TCustomCodeEdit* GetEdit();

    int Line() const { return line_; }
    virtual void SetLine(int line);
    int Column() const { return column_; }
    virtual void SetColumn(int column) { column_ = column; }
    int ImageIndex() const { return imageIndex_; }
    virtual void SetImage(int index);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    bool InternalImage() const { return internalImage_; }
    void SetInternalImage(bool on);
    // -1 for a plain mark, 0..9 for a bookmark.
    int BookmarkNumber() const { return bookmarkNumber_; }
    void SetBookmarkNumber(int number) { bookmarkNumber_ = number; }
    bool IsBookmark() const { return bookmarkNumber_ >= 0; }

private:
    void RepaintLine(int line);

    int line_ = 0;
    int column_ = 0;
    int imageIndex_ = 0;
    TCustomCodeEdit* editor_;
    bool visible_ = false;
    bool internalImage_ = false;
    int bookmarkNumber_ = -1;
};

class TCodeEditMarkList : public TObject {
    KP_CLASS(TCodeEditMarkList, TObject)
public:
    // The most marks one line shows.
    static constexpr int MarksPerLine = 16;
    using TLineMarks = std::array<TCodeEditMark*, MarksPerLine>;

    explicit TCodeEditMarkList(TCustomCodeEdit* editor) : editor_(editor) {}

    TCustomCodeEdit* Editor() const { return editor_; }
    int Count() const { return static_cast<int>(marks_.size()); }
    TCodeEditMark* Items(int index) const { return marks_[static_cast<std::size_t>(index)].get(); }
    bool Contains(const TCodeEditMark* mark) const;

    // Takes ownership; returns the mark.
    TCodeEditMark* Add(std::unique_ptr<TCodeEditMark> mark);
    // Hands the mark back to the caller; nullptr when it is not in the list.
    std::unique_ptr<TCodeEditMark> Remove(TCodeEditMark* mark);
    // Frees every mark.
    void Clear();

    // The marks of a line in list order, the rest of the array nullptr.
    void GetMarksForLine(int line, TLineMarks& marks) const;

    // Lines first .. first + count - 1 were inserted before the old line `first`.
    void LinesInserted(int first, int count);
    // The lines after `first` up to first + count were joined to it or deleted.
    void LinesDeleted(int first, int count);

    TNotifyEvent OnChange;

private:
    void Changed();

    TCustomCodeEdit* editor_;
    std::vector<std::unique_ptr<TCodeEditMark>> marks_;
};
