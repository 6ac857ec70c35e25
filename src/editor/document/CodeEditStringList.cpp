#include "editor/document/CodeEditStringList.h"

#include "platform/core/files/RegularFile.h"
#include "platform/core/files/Stream.h"

#include <QFile>
#include <QIODevice>

#include <algorithm>
#include <exception>
#include <string>
#include <utility>

ECodeEditStringList::ECodeEditStringList(int index)
    : EListError("Invalid stringlist index " + std::to_string(index))
{
}

// Begin/end update that also closes when an exception leaves the operation.
class TCodeEditStringList::UpdateBracket {
public:
    explicit UpdateBracket(TCodeEditStringList& list) : list_(list) { list_.BeginUpdate(); }
    ~UpdateBracket() noexcept(false)
    {
        if (std::uncaught_exceptions() > exceptions_) {
            try {
                list_.EndUpdate();
            } catch (...) {
                // the first error is the one worth reporting
            }
        } else {
            list_.EndUpdate();
        }
    }
    UpdateBracket(const UpdateBracket&) = delete;
    UpdateBracket& operator=(const UpdateBracket&) = delete;

private:
    TCodeEditStringList& list_;
    int exceptions_ = std::uncaught_exceptions();
};

TCodeEditStringList::TCodeEditStringList() : expandTabs_(SelectTabExpanderWithFlag(8)) {}

TCodeEditStringList::~TCodeEditStringList()
{
    OnChange = nullptr;
    OnChanging = nullptr;
}

// --- storage ---------------------------------------------------------------------

int TCodeEditStringList::GrowCapacity(int capacity)
{
    return capacity <= 64 ? capacity + 16 : capacity + capacity / 4;
}

void TCodeEditStringList::CheckIndex(int index, int last) const
{
    if (index < 0 || index > last) {
        throw ECodeEditStringList(index);
    }
}

void TCodeEditStringList::MoveGap(int index)
{
    const int gap = GapLength();
    if (gap > 0 && index != gapStart_) {
        auto base = records_.begin();
        if (index < gapStart_) {
            std::move_backward(base + index, base + gapStart_, base + gapStart_ + gap);
        } else {
            std::move(base + gapStart_ + gap, base + index + gap, base + gapStart_);
        }
    }
    gapStart_ = index;
}

void TCodeEditStringList::Reallocate(int capacity)
{
    std::vector<TCodeEditStringRec> fresh(static_cast<std::size_t>(capacity));
    const int tail = count_ - gapStart_;
    auto from = records_.begin();
    std::move(from, from + gapStart_, fresh.begin());
    std::move(from + gapStart_ + GapLength(), from + gapStart_ + GapLength() + tail,
              fresh.begin() + (capacity - tail));
    records_.swap(fresh);
}

void TCodeEditStringList::InsertRecord(int index, TCodeEditStringRec&& record)
{
    if (count_ == Capacity()) {
        Reallocate(GrowCapacity(Capacity()));
    }
    MoveGap(index);
    TCodeEditStringRec& placed = records_[static_cast<std::size_t>(gapStart_)];
    placed = std::move(record);
    CountLength(placed);
    ++gapStart_;
    ++count_;
}

void TCodeEditStringList::RemoveRecords(int index, int count)
{
    MoveGap(index);
    const int gapEnd = gapStart_ + GapLength();
    for (int k = 0; k < count; ++k) {
        TCodeEditStringRec& rec = records_[static_cast<std::size_t>(gapEnd + k)];
        UncountLength(rec);
        rec = TCodeEditStringRec{};
    }
    count_ -= count;
}

void TCodeEditStringList::SetCapacity(int capacity)
{
    Reallocate(std::max(capacity, count_));
}

// --- update bracket --------------------------------------------------------------

void TCodeEditStringList::BeginUpdate()
{
    if (updateCount_++ == 0) {
        SetUpdateState(true);
    }
}

void TCodeEditStringList::EndUpdate()
{
    if (updateCount_ > 0 && --updateCount_ == 0) {
        SetUpdateState(false);
    }
}

void TCodeEditStringList::SetUpdateState(bool updating)
{
    if (updating) {
        if (OnChanging) {
            OnChanging(this);
        }
    } else if (OnChange) {
        OnChange(this);
    }
}

// --- the string-list surface -----------------------------------------------------

QString TCodeEditStringList::Get(int index) const
{
    return index >= 0 && index < count_ ? At(index).text : QString();
}

void* TCodeEditStringList::GetObject(int index) const
{
    return index >= 0 && index < count_ ? At(index).object : nullptr;
}

void TCodeEditStringList::Put(int index, const QString& text)
{
    if (index == count_) {
        Add(text);
        return;
    }
    CheckIndex(index, count_ - 1);
    UpdateBracket bracket(*this);
    TCodeEditStringRec& rec = At(index);
    UncountLength(rec);
    rec.text = text;
    rec.flags = TCodeEditStringRec::LengthStale;
    CountLength(rec);
    if (OnPutted) {
        OnPutted(index, text);
    }
}

void TCodeEditStringList::PutObject(int index, void* object)
{
    CheckIndex(index, count_ - 1);
    UpdateBracket bracket(*this);
    At(index).object = object;
}

int TCodeEditStringList::Add(const QString& text)
{
    UpdateBracket bracket(*this);
    const int index = count_;
    InsertLines(index, text);
    if (OnAdded) {
        OnAdded(index, text);
    }
    return index;
}

int TCodeEditStringList::AddObject(const QString& text, void* object)
{
    UpdateBracket bracket(*this);
    const int index = Add(text);
    PutObject(index, object);
    return index;
}

void TCodeEditStringList::Insert(int index, const QString& text)
{
    CheckIndex(index, count_);
    UpdateBracket bracket(*this);
    InsertLines(index, text);
    if (OnInserted) {
        OnInserted(index, text);
    }
}

void TCodeEditStringList::InsertObject(int index, const QString& text, void* object)
{
    UpdateBracket bracket(*this);
    Insert(index, text);
    PutObject(index, object);
}

void TCodeEditStringList::AddStrings(const QStringList& lines)
{
    if (lines.isEmpty()) {
        return;
    }
    UpdateBracket bracket(*this);
    const int first = count_;
    const int needed = count_ + static_cast<int>(lines.size());
    if (Capacity() < needed) {
        Reallocate((needed + 15) / 16 * 16);
    }
    for (const QString& line : lines) {
        InsertRecord(count_, TCodeEditStringRec{line});
    }
    if (OnAdded) {
        OnAdded(first, QString());
    }
}

void TCodeEditStringList::AddStrings(const TCodeEditStringList& source)
{
    // A wrapped source gives its whole lines: a continuation turned into a line of its
    // own would put a line break into the text that the user never typed.
    QStringList lines;
    std::vector<void*> objects;
    for (int i = 0; i < source.count_;) {
        objects.push_back(source.At(i).object);
        lines.append(source.JoinedLine(i, i));
    }
    const int first = count_;
    UpdateBracket bracket(*this);
    AddStrings(lines);
    for (std::size_t k = 0; k < objects.size(); ++k) {
        At(first + static_cast<int>(k)).object = objects[k];
    }
}

void TCodeEditStringList::Clear()
{
    if (count_ > 0) {
        UpdateBracket bracket(*this);
        std::vector<TCodeEditStringRec>().swap(records_);
        count_ = 0;
        gapStart_ = 0;
        if (OnCleared) {
            OnCleared(this);
        }
    }
    lengthCounts_.Clear();
    lengthsCounted_ = false;
}

void TCodeEditStringList::Delete(int index)
{
    CheckIndex(index, count_ - 1);
    UpdateBracket bracket(*this);
    RemoveRecords(index, 1);
    if (OnDeleted) {
        OnDeleted(index);
    }
}

void TCodeEditStringList::Exchange(int index1, int index2)
{
    CheckIndex(index1, count_ - 1);
    CheckIndex(index2, count_ - 1);
    UpdateBracket bracket(*this);
    std::swap(At(index1), At(index2));
}

void TCodeEditStringList::Move(int fromIndex, int toIndex)
{
    if (fromIndex == toIndex) {
        return;
    }
    CheckIndex(fromIndex, count_ - 1);
    CheckIndex(toIndex, count_ - 1);
    UpdateBracket bracket(*this);
    const QString text = At(fromIndex).text;
    void* object = At(fromIndex).object;
    Delete(fromIndex);
    InsertObject(toIndex, text, object);
}

int TCodeEditStringList::IndexOf(const QString& text) const
{
    for (int i = 0; i < count_; ++i) {
        if (At(i).text.compare(text, Qt::CaseInsensitive) == 0) {
            return i;
        }
    }
    return -1;
}

QString TCodeEditStringList::JoinedLine(int index, int& next) const
{
    QString text = At(index).text;
    next = index + 1;
    while (next < count_ && At(next).continuation) {
        text += At(next).text;
        ++next;
    }
    return text;
}

QString TCodeEditStringList::Text() const
{
    QString text;
    for (int i = 0; i < count_;) {
        text += JoinedLine(i, i);
        text += QLatin1Char('\n');
    }
    return text;
}

QStringList TCodeEditStringList::ToStringList() const
{
    QStringList lines;
    lines.reserve(count_);
    for (int i = 0; i < count_; ++i) {
        lines.append(At(i).text);
    }
    return lines;
}

void TCodeEditStringList::SetText(const QString& text)
{
    UpdateBracket bracket(*this);
    Clear();
    const QChar* p = text.constData();
    const int n = static_cast<int>(text.size());
    int start = 0;
    for (int i = 0; i < n; ++i) {
        if (p[i] == QLatin1Char('\r') || p[i] == QLatin1Char('\n')) {
            Add(text.mid(start, i - start));
            if (p[i] == QLatin1Char('\r') && i + 1 < n && p[i + 1] == QLatin1Char('\n')) {
                ++i;
            }
            start = i + 1;
        }
    }
    if (start < n) {
        Add(text.mid(start));
    }
}

void TCodeEditStringList::Assign(const TPersistent* source)
{
    if (const auto* other = ObjectCast<TCodeEditStringList>(source)) {
        if (other == this) {
            return;
        }
        UpdateBracket bracket(*this);
        Clear();
        AddStrings(*other);
        lineBreakStyle_ = other->lineBreakStyle_;
        finalLineBreak_ = other->finalLineBreak_;
        encoding_ = other->encoding_;
        return;
    }
    TPersistent::Assign(source);
}

// --- reading and writing ---------------------------------------------------------

void TCodeEditStringList::LoadFromFile(const QString& fileName)
{
    // Only a regular file is read, and never waited on: a named pipe would hold the
    // window until another program writes into it, a device might never end.
    const std::string name = QFile::encodeName(fileName).toStdString();
    TOpenedFile opened = OpenRegularFile(name, TFileAccess::Read);
    if (!opened.IsOpen()) {
        throw EFOpenError(opened.Message(fileName.toStdString()));
    }
    QByteArray bytes;
    if (const int error = opened.File.ReadToEnd(bytes); error != 0) {
        throw EReadError(ReadErrorMessage(fileName.toStdString(), error));
    }
    LoadFromBytes(bytes);
}

void TCodeEditStringList::LoadFromStream(QIODevice& stream)
{
    if (!stream.isReadable()) {
        throw EReadError("Stream read error");
    }
    if (!stream.isSequential() && !stream.seek(0)) {
        throw EReadError("Stream read error");
    }
    LoadFromBytes(stream.readAll());
}

void TCodeEditStringList::LoadFromStream(TStream& stream)
{
    stream.SetPosition(0);
    QByteArray bytes(static_cast<qsizetype>(stream.Size()), Qt::Uninitialized);
    stream.ReadBuffer(bytes.data(), bytes.size());
    LoadFromBytes(bytes);
}

void TCodeEditStringList::LoadFromBytes(const QByteArray& bytes)
{
    UpdateBracket bracket(*this);
    Clear();
    const TTextEncoding encoding = DetectTextEncoding(bytes);
    const qsizetype skip = EncodingPreamble(encoding).size();
    const char* p = bytes.constData() + skip;
    const qsizetype n = bytes.size() - skip;
    bool sawCR = false;
    bool sawLF = false;
    qsizetype i = 0;
    while (i < n) {
        const qsizetype start = i;
        while (i < n && p[i] != '\r' && p[i] != '\n') {
            ++i;
        }
        Add(DecodeText(QByteArrayView(p + start, i - start), encoding));
        if (i < n && p[i] == '\r') {
            sawCR = true;
            ++i;
        }
        if (i < n && p[i] == '\n') {
            sawLF = true;
            ++i;
        }
    }
    if (sawCR && !sawLF) {
        lineBreakStyle_ = lbCR;
    } else if (sawLF && !sawCR) {
        lineBreakStyle_ = lbLF;
    } else {
        lineBreakStyle_ = lbCRLF;
    }
    // Remember whether the last line had a break, so the file saves back byte for byte.
    if (n > 0) {
        finalLineBreak_ = p[n - 1] == '\r' || p[n - 1] == '\n';
    }
    encoding_ = encoding;
}

TTextEncoding TCodeEditStringList::SaveEncoding() const
{
    if (encoding_ != TTextEncoding::Windows1252) {
        return encoding_;
    }
    for (int i = 0; i < count_; ++i) {
        if (!CanEncode(At(i).text, encoding_)) {
            return TTextEncoding::Utf8; // never drop a character the user typed
        }
    }
    return encoding_;
}

void TCodeEditStringList::WriteTo(TCodeEditFiler& filer) const
{
    filer.SetLineBreakStyle(lineBreakStyle_);
    filer.WriteBytes(EncodingPreamble(filer.Encoding()));
    for (int i = 0; i < count_;) {
        filer.WriteText(At(i).text);
        int next = i + 1;
        while (next < count_ && At(next).continuation) {
            filer.WriteText(At(next).text);
            ++next;
        }
        if (next < count_ || finalLineBreak_) {
            filer.WriteLineBreak();
        }
        i = next;
    }
}

void TCodeEditStringList::SaveToFile(const QString& fileName)
{
    // The buffer is not touched: continuation lines are joined as they are written, so a
    // failed save leaves it exactly as it was, wrapped or not.
    const TTextEncoding encoding = SaveEncoding();
    TCodeEditFileWriter writer(fileName);
    writer.SetEncoding(encoding);
    WriteTo(writer);
    writer.Commit();
    encoding_ = encoding;
}

QByteArray TCodeEditStringList::SaveToBytes()
{
    const TTextEncoding encoding = SaveEncoding();
    TCodeEditFiler filer;
    filer.SetEncoding(encoding);
    WriteTo(filer);
    encoding_ = encoding;
    return filer.Bytes();
}

void TCodeEditStringList::SaveToStream(TStream& stream)
{
    const QByteArray bytes = SaveToBytes();
    stream.WriteBuffer(bytes.constData(), bytes.size());
}

void TCodeEditStringList::SaveToStream(QIODevice& stream)
{
    const QByteArray bytes = SaveToBytes();
    if (stream.write(bytes) != bytes.size()) {
        throw EWriteError("Stream write error");
    }
}

// --- the editor's own operations -------------------------------------------------

void TCodeEditStringList::InsertLines(int index, const QString& text)
{
    CheckIndex(index, count_);
    UpdateBracket bracket(*this);
    const qsizetype cut = WrapCut(text);
    InsertRecord(index, TCodeEditStringRec{cut == text.size() ? text : text.left(cut)});
    InsertPieces(index + 1, text, cut);
}

void TCodeEditStringList::DeleteLines(int index, int count)
{
    if (count <= 0) {
        return;
    }
    CheckIndex(index, count_ - 1);
    UpdateBracket bracket(*this);
    RemoveRecords(index, std::min(count, count_ - index));
    if (OnDeleted) {
        OnDeleted(index);
    }
}

void TCodeEditStringList::InsertBlankLines(int index, int count)
{
    CheckIndex(index, count_);
    if (count <= 0) {
        return;
    }
    UpdateBracket bracket(*this);
    if (Capacity() < count_ + count) {
        // Grown like any insertion, so a line at a time does not copy the buffer each time.
        Reallocate(std::max(count_ + count, GrowCapacity(Capacity())));
    }
    for (int k = 0; k < count; ++k) {
        InsertRecord(index + k, TCodeEditStringRec{}); // the same defaults as any new line
    }
    if (OnAdded) {
        OnAdded(index, QString());
    }
}

int TCodeEditStringList::GetRange(int index) const
{
    return index >= 0 && index < count_ ? At(index).range : 0;
}

void TCodeEditStringList::PutRange(int index, int range)
{
    CheckIndex(index, count_ - 1);
    At(index).range = range;
}

QString TCodeEditStringList::GetExpandedString(int index)
{
    if (index < 0 || index >= count_) {
        return QString();
    }
    return Expand(At(index));
}

QString TCodeEditStringList::Expand(TCodeEditStringRec& rec)
{
    if (rec.flags & TCodeEditStringRec::HasNoTabs) {
        return rec.text;
    }
    bool hasTabs = false;
    QString expanded = expandTabs_(rec.text, tabWidth_, hasTabs);
    rec.expandedLength = static_cast<std::int32_t>(expanded.size());
    rec.flags = hasTabs ? TCodeEditStringRec::HasTabs : TCodeEditStringRec::HasNoTabs;
    return expanded;
}

int TCodeEditStringList::ExpandedLength(int index)
{
    TCodeEditStringRec& rec = At(index);
    if (rec.flags & TCodeEditStringRec::LengthStale) {
        Expand(rec);
    }
    return rec.expandedLength;
}

void TCodeEditStringList::CountLength(TCodeEditStringRec& rec)
{
    if (!lengthsCounted_) {
        return;
    }
    if (rec.flags & TCodeEditStringRec::LengthStale) {
        Expand(rec);
    }
    lengthCounts_.Add(rec.expandedLength);
}

void TCodeEditStringList::UncountLength(const TCodeEditStringRec& rec)
{
    if (!lengthsCounted_) {
        return;
    }
    if ((rec.flags & TCodeEditStringRec::LengthStale) || !lengthCounts_.Remove(rec.expandedLength)) {
        lengthsCounted_ = false; // lost track: count again on the next question
    }
}

int TCodeEditStringList::GetLengthOfLongestLine()
{
    if (count_ == 0) {
        return 0;
    }
    if (!lengthsCounted_) {
        lengthCounts_.Clear();
        lengthsCounted_ = true;
        for (int i = 0; i < count_; ++i) {
            CountLength(At(i));
        }
    }
    return lengthCounts_.Longest();
}

void TCodeEditStringList::SetTabWidth(int width)
{
    if (width == tabWidth_) {
        return;
    }
    tabWidth_ = width;
    expandTabs_ = SelectTabExpanderWithFlag(width);
    lengthsCounted_ = false;
    for (TCodeEditStringRec& rec : records_) {
        rec.flags = static_cast<std::uint8_t>((rec.flags & ~TCodeEditStringRec::HasNoTabs) |
                                              TCodeEditStringRec::LengthStale);
    }
}

// --- soft wrap -------------------------------------------------------------------

void TCodeEditStringList::SetWrapMode(bool on)
{
    if (on == wrapMode_) {
        return;
    }
    wrapMode_ = on;
    if (on) {
        WrapAll();
    } else {
        UnwrapAll();
    }
}

void TCodeEditStringList::SetWrapWidth(int width)
{
    wrapWidth_ = std::max(width, 1);
}

void TCodeEditStringList::WrapAll()
{
    if (count_ > 0) {
        WrapLines(0, count_ - 1);
    }
}

void TCodeEditStringList::UnwrapAll()
{
    if (count_ > 0) {
        UnwrapLines(0, count_ - 1);
    }
}

qsizetype TCodeEditStringList::WrapCut(QStringView text) const
{
    const qsizetype n = text.size();
    if (!wrapMode_ || n <= wrapWidth_) {
        return n;
    }
    auto isBreak = [text](qsizetype pos) {
        const char16_t c = text[pos - 1].unicode();
        return c == u'\t' || c == u' ' || c == u',' || c == u';' || c == u'>';
    };
    // Break characters are all ASCII, so a cut never falls inside a surrogate pair.
    for (qsizetype pos = wrapWidth_; pos >= 1; --pos) {
        if (isBreak(pos)) {
            return pos;
        }
    }
    for (qsizetype pos = wrapWidth_ + 1; pos <= n - 1; ++pos) {
        if (isBreak(pos)) {
            return pos;
        }
    }
    return n;
}

void TCodeEditStringList::SplitLine(const QString& text, QString& head, QString& rest) const
{
    const QString source = text; // head or rest may be the same string as text
    const qsizetype cut = WrapCut(source);
    head = source.left(cut);
    rest = source.mid(cut);
}

void TCodeEditStringList::InsertPieces(int index, const QString& text, qsizetype from)
{
    // Cut by offset: copying the rest for every piece would make a long line cost the
    // square of its length.
    const QStringView view(text);
    while (from < view.size()) {
        const qsizetype cut = WrapCut(view.mid(from));
        TCodeEditStringRec piece{text.mid(from, cut)};
        piece.continuation = true;
        InsertRecord(index++, std::move(piece));
        from += cut;
    }
}

void TCodeEditStringList::WrapLine(int index)
{
    TCodeEditStringRec& rec = At(index);
    UncountLength(rec);
    rec.expandedLength = -1;
    rec.flags = TCodeEditStringRec::LengthStale;
    const qsizetype cut = WrapCut(rec.text);
    if (cut == rec.text.size()) {
        CountLength(rec);
        return;
    }
    const QString text = std::move(rec.text);
    rec.text = text.left(cut); // before InsertPieces: growing the records moves rec
    CountLength(rec);
    InsertPieces(index + 1, text, cut);
}

void TCodeEditStringList::WrapLines(int first, int last)
{
    first = std::max(first, 0);
    last = std::min(last, count_ - 1);
    UpdateBracket bracket(*this);
    for (int i = last; i >= first; --i) {
        WrapLine(i);
    }
}

void TCodeEditStringList::UnwrapLines(int first, int last)
{
    first = std::max(first, 0);
    last = std::min(last, count_ - 1);
    UpdateBracket bracket(*this);
    // When the range starts inside a wrapped line, the walk starts at its head, so the
    // text of the continuation lines is never dropped.
    while (first > 0 && first <= last && At(first).continuation) {
        --first;
    }
    // Each head takes its pieces in one join and one block removal: piece by piece, a
    // long line would cost the square of its length.
    for (int head = first; head <= last; ++head) {
        int end = head + 1;
        qsizetype length = At(head).text.size();
        while (end <= last && At(end).continuation) {
            length += At(end++).text.size();
        }
        UncountLength(At(head));
        if (end > head + 1) {
            QString joined;
            joined.reserve(length);
            for (int k = head; k < end; ++k) {
                joined += At(k).text;
            }
            RemoveRecords(head + 1, end - head - 1);
            last -= end - head - 1;
            if (OnDeleted) {
                // As if the pieces were deleted one by one from the last.
                for (int k = end - 1; k > head; --k) {
                    OnDeleted(k);
                }
            }
            At(head).text = std::move(joined);
        }
        TCodeEditStringRec& rec = At(head);
        rec.continuation = false;
        rec.flags = TCodeEditStringRec::LengthStale;
        CountLength(rec);
    }
}

int TCodeEditStringList::RewrapLine(int index)
{
    if (!wrapMode_) {
        return index;
    }
    CheckIndex(index, count_ - 1);
    UpdateBracket bracket(*this);
    int head = index;
    while (head > 0 && At(head).continuation) {
        --head;
    }
    int end = index;
    while (end + 1 < count_ && At(end + 1).continuation) {
        ++end;
    }
    UnwrapLines(head, end);
    WrapLine(head);
    return head;
}
