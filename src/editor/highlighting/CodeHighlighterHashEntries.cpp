#include "editor/highlighting/CodeHighlighterHashEntries.h"

#include "platform/core/Exceptions.h"

namespace {

constexpr char16_t FoldAscii(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c; }

} // namespace

bool SameAsciiText(QStringView a, QStringView b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i].unicode()) != FoldAscii(b[i].unicode())) {
            return false;
        }
    }
    return true;
}

TCodeHashEntry::TCodeHashEntry(const QString& key, int kind)
    : keyLength_(static_cast<int>(key.size())), keyword_(key), kind_(kind)
{
}

TCodeHashEntry::~TCodeHashEntry()
{
    // Unlink the chain iteratively: a long chain of table names must not recurse.
    std::unique_ptr<TCodeHashEntry> rest = std::move(next_);
    while (rest) {
        rest = std::move(rest->next_);
    }
}

void TCodeHashEntry::AddEntry(std::unique_ptr<TCodeHashEntry>& head, std::unique_ptr<TCodeHashEntry> newEntry)
{
    if (!newEntry) {
        return;
    }
    std::unique_ptr<TCodeHashEntry>* link = &head;
    while (*link) {
        const TCodeHashEntry& entry = **link;
        if (SameAsciiText(entry.keyword_, newEntry->keyword_)) {
            throw Exception("Keyword \"" + entry.keyword_.toStdString() + "\" already in list");
        }
        if (newEntry->keyLength_ < entry.keyLength_) {
            break;
        }
        link = &(*link)->next_;
    }
    newEntry->next_ = std::move(*link);
    *link = std::move(newEntry);
}

void TCodeHashEntryList::Put(int hashKey, std::unique_ptr<TCodeHashEntry> entry)
{
    if (hashKey < 0) {
        throw EListError("List index out of bounds (" + std::to_string(hashKey) + ")");
    }
    if (hashKey >= Count()) {
        slots_.resize(static_cast<std::size_t>(hashKey) + 1);
    }
    TCodeHashEntry::AddEntry(slots_[static_cast<std::size_t>(hashKey)], std::move(entry));
}

void EnumerateKeywords(int kind, QStringView keywordList, const TCodeCharSet& identifiers,
                       const TCodeKeywordCallback& callback)
{
    if (!callback || keywordList.isEmpty()) {
        return;
    }
    const qsizetype n = keywordList.size();
    qsizetype i = 0;
    while (i < n) {
        while (i < n && !identifiers.Contains(keywordList[i])) {
            ++i;
        }
        const qsizetype start = i;
        while (i < n && identifiers.Contains(keywordList[i])) {
            ++i;
        }
        if (i > start) {
            callback(keywordList.mid(start, i - start), kind);
        }
    }
}
