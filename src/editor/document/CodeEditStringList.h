#pragma once
// The text buffer of the editor: one record per line with the line's text, its object,
// the highlighter's scan state at its start, its cached tab-expanded length and, for the
// buffer's soft wrap, whether it continues the line before it.
//
// The records live in one array with a gap at the last edit, so a run of edits in the
// middle of a million-line program costs what it costs in a short one; moving the gap
// elsewhere is one block move.
//
// Files are read with CR LF, LF or CR line breaks; the buffer remembers the break, the
// encoding and whether the last line had a break, and writes the file back the same way.

#include "editor/document/CodeEditFileWriter.h"
#include "editor/document/CodeLineLengthCounts.h"
#include "editor/document/CodeEditMiscProcs.h"
#include "editor/document/CodeEditTextCodec.h"
#include "platform/core/objects/Delegate.h"
#include "platform/core/Exceptions.h"
#include "platform/core/objects/Persistent.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstdint>
#include <functional>
#include <vector>

class QIODevice;
class TStream;

class ECodeEditStringList : public EListError {
public:
    explicit ECodeEditStringList(int index);
};

struct TCodeEditStringRec {
    enum Flag : std::uint8_t { HasTabs = 1, HasNoTabs = 2, LengthStale = 4 };

    // Ordered for size: a million of these stay at 48 bytes each.
    QString text;
    void* object = nullptr;
    std::int32_t range = -1; // highlighter state at the line's start; -1 = not scanned
    std::int32_t expandedLength = -1;
    bool continuation = false; // a piece of the line before it, made by wrapping
    std::uint8_t flags = LengthStale;
};
static_assert(sizeof(void*) != 8 || sizeof(TCodeEditStringRec) == 48);

class TCodeEditStringList : public TPersistent {
    KP_CLASS(TCodeEditStringList, TPersistent)
public:
    using TTextEvent = std::function<void(int index, const QString& text)>;
    using TIndexEvent = std::function<void(int index)>;
    using TSenderEvent = std::function<void(TObject* sender)>;

    TCodeEditStringList();
    ~TCodeEditStringList() override;

    // --- the string-list surface ---
    int Count() const { return count_; }
    int Capacity() const { return static_cast<int>(records_.size()); }
    // Empty text (no error) outside 0..Count-1.
    QString Get(int index) const;
    QString operator[](int index) const { return Get(index); }
    void* GetObject(int index) const;
    void Put(int index, const QString& text);
    void PutObject(int index, void* object);
    int Add(const QString& text);
    int AddObject(const QString& text, void* object);
    void Insert(int index, const QString& text);
    void InsertObject(int index, const QString& text, void* object);
    void AddStrings(const QStringList& lines);
    void AddStrings(const TCodeEditStringList& source);
    void Clear();
    void Delete(int index);
    void Exchange(int index1, int index2);
    void Move(int fromIndex, int toIndex);
    // Capacities below Count are raised to Count.
    void SetCapacity(int capacity);
    int IndexOf(const QString& text) const;
    // The whole text, each (unwrapped) line followed by LF.
    QString Text() const;
    // Replaces the lines; CR LF, LF and CR all end a line.
    void SetText(const QString& text);
    QStringList ToStringList() const;
    void Assign(const TPersistent* source) override;

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }

    // --- reading and writing ---
    // Errors are the platform's stream errors: EFOpenError, EFCreateError, EReadError,
    // EWriteError. Streams are read whole from their start.
    void LoadFromFile(const QString& fileName);
    void LoadFromStream(QIODevice& stream);
    void LoadFromStream(TStream& stream);
    void LoadFromBytes(const QByteArray& bytes);
    void SaveToFile(const QString& fileName);
    void SaveToStream(QIODevice& stream);
    void SaveToStream(TStream& stream);
    QByteArray SaveToBytes();

    TLineBreakStyle LineBreakStyle() const { return lineBreakStyle_; }
    void SetLineBreakStyle(TLineBreakStyle style) { lineBreakStyle_ = style; }
    bool FinalLineBreak() const { return finalLineBreak_; }
    void SetFinalLineBreak(bool value) { finalLineBreak_ = value; }
    TTextEncoding Encoding() const { return encoding_; }
    void SetEncoding(TTextEncoding encoding) { encoding_ = encoding; }

    // --- the editor's own operations ---
    void DeleteLines(int index, int count);
    void InsertBlankLines(int index, int count);
    void InsertLines(int index, const QString& text);
    int GetRange(int index) const;
    void PutRange(int index, int range);
    QString GetExpandedString(int index);
    int GetLengthOfLongestLine();
    int TabWidth() const { return tabWidth_; }
    void SetTabWidth(int width);
    // The record itself, for the painter and the highlighter; the index must exist.
    const TCodeEditStringRec& Record(int index) const { return At(index); }

    // --- soft wrap ---
    bool WrapMode() const { return wrapMode_; }
    void SetWrapMode(bool on);
    int WrapWidth() const { return wrapWidth_; }
    // At least 1.
    void SetWrapWidth(int width);
    void WrapAll();
    void UnwrapAll();
    void WrapLines(int first, int last);
    void UnwrapLines(int first, int last);
    // Joins the wrapped line that holds index and wraps it again; returns its head line.
    int RewrapLine(int index);
    void SplitLine(const QString& text, QString& head, QString& rest) const;
    bool IsContinuationLine(int index) const { return At(index).continuation; }

    // --- notifications ---
    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;
    TTextEvent OnAdded;
    TSenderEvent OnCleared;
    TIndexEvent OnDeleted;
    TTextEvent OnInserted;
    TTextEvent OnPutted;

private:
    class UpdateBracket;

    static int GrowCapacity(int capacity);
    int Storage(int index) const { return index < gapStart_ ? index : index + GapLength(); }
    int GapLength() const { return static_cast<int>(records_.size()) - count_; }
    TCodeEditStringRec& At(int index) { return records_[static_cast<std::size_t>(Storage(index))]; }
    const TCodeEditStringRec& At(int index) const
    {
        return records_[static_cast<std::size_t>(Storage(index))];
    }
    void CheckIndex(int index, int last) const;
    void MoveGap(int index);
    void Reallocate(int capacity);
    void InsertRecord(int index, TCodeEditStringRec&& record);
    void RemoveRecords(int index, int count);
    void WrapLine(int index);
    // Where the first wrapped piece of text ends: after the last break character
    // within the wrap width, else after the first one beyond it, else at the end.
    qsizetype WrapCut(QStringView text) const;
    // The pieces of text from offset `from` on, as continuation records from index on.
    void InsertPieces(int index, const QString& text, qsizetype from);
    void SetUpdateState(bool updating);
    // The text with its continuation lines appended, for line index (a head line).
    QString JoinedLine(int index, int& next) const;
    void WriteTo(TCodeEditFiler& filer) const;
    // The file's own encoding, or UTF-8 when it cannot hold every character of the text.
    TTextEncoding SaveEncoding() const;
    int ExpandedLength(int index);
    QString Expand(TCodeEditStringRec& rec);
    // The lines counted by their expanded length keep the longest length known through
    // every edit; counting starts on the first question and stops when the tab width
    // changes or the buffer is cleared.
    void CountLength(TCodeEditStringRec& rec);
    void UncountLength(const TCodeEditStringRec& rec);

    std::vector<TCodeEditStringRec> records_;
    int count_ = 0;
    int gapStart_ = 0;
    bool wrapMode_ = false;
    int wrapWidth_ = 80;
    TLineBreakStyle lineBreakStyle_ = lbCRLF;
    bool finalLineBreak_ = true;
    TTextEncoding encoding_ = TTextEncoding::Utf8;
    TTabExpanderWithFlag expandTabs_;
    TLineLengthCounts lengthCounts_;
    bool lengthsCounted_ = false;
    int tabWidth_ = 8;
    int updateCount_ = 0;
};
