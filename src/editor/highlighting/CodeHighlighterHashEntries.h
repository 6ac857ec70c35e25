#pragma once
// A chained keyword table: slot i holds the words whose hash is i, each chain ordered by
// ascending word length (words of one length in the order added), so a lookup stops at
// the first entry longer than the word it looks for.

#include "editor/document/CodeCharSet.h"

#include <QString>
#include <QStringView>

#include <functional>
#include <memory>
#include <vector>

class TCodeHashEntry {
public:
    TCodeHashEntry(const QString& key, int kind);
    virtual ~TCodeHashEntry();

    // Links `newEntry` into the chain that starts at `head` at its place by length.
    // Raises Exception "Keyword "<stored word>" already in list" when the chain holds the
    // word already, ignoring ASCII case; the chain is then unchanged.
    static void AddEntry(std::unique_ptr<TCodeHashEntry>& head, std::unique_ptr<TCodeHashEntry> newEntry);

    const TCodeHashEntry* Next() const { return next_.get(); }
    int KeyLength() const { return keyLength_; }
    const QString& Keyword() const { return keyword_; }
    int Kind() const { return kind_; }

private:
    std::unique_ptr<TCodeHashEntry> next_;
    int keyLength_;
    QString keyword_;
    int kind_;
};

class TCodeHashEntryList {
public:
    // Frees every chain and empties the list.
    void Clear() { slots_.clear(); }
    int Count() const { return static_cast<int>(slots_.size()); }
    // The chain head of a hash, nullptr outside the list.
    const TCodeHashEntry* Get(int hashKey) const
    {
        return hashKey >= 0 && hashKey < Count() ? slots_[static_cast<std::size_t>(hashKey)].get() : nullptr;
    }
    // Grows the list to hashKey + 1 slots when needed and adds the entry to that chain.
    void Put(int hashKey, std::unique_ptr<TCodeHashEntry> entry);

private:
    std::vector<std::unique_ptr<TCodeHashEntry>> slots_;
};

using TCodeKeywordCallback = std::function<void(QStringView word, int kind)>;

// Splits the list at every character outside `identifiers` and hands each word with
// `kind` to the callback; nothing happens without a callback or with an empty list.
void EnumerateKeywords(int kind, QStringView keywordList, const TCodeCharSet& identifiers,
                       const TCodeKeywordCallback& callback);

// Equal length and equal letters, ignoring ASCII case only.
bool SameAsciiText(QStringView a, QStringView b);
