#pragma once
// Finds every occurrence of a plain pattern in one line: a skip-table search (shifts
// by the character after the window) with optional case folding and whole-word
// matches. Positions are 1-based; matches do not overlap.
//
// Each engine folds case by its own setting, so engines of different editors never
// affect each other.

#include "platform/core/objects/Object.h"

#include <QChar>
#include <QString>

#include <array>
#include <cstdint>
#include <vector>

// Not a letter, not a digit and not "_": what may stand beside a whole-word match.
bool IsWordDelimiter(char32_t codePoint);

class TCodeEditSearch : public TObject {
    KP_CLASS(TCodeEditSearch, TObject)
public:
    TCodeEditSearch() = default;

    const QString& Pattern() const { return pattern_; }
    // Resets the match count; a different pattern must be prepared again.
    void SetPattern(const QString& pattern);
    bool Sensitive() const { return sensitive_; }
    void SetSensitive(bool sensitive);
    bool Whole() const { return whole_; }
    void SetWhole(bool whole) { whole_ = whole; }

    // The first match in text, 0 when none. Exception "Pattern is empty" without a pattern.
    int FindFirst(const QString& text);
    // The next match after the previous one, 0 when there is none.
    int Next();
    // Every match of the line; returns their number.
    int FindAll(const QString& text);
    // The i-th result (0-based) of the last FindAll, 0 outside the range.
    int Results(int index) const;
    int ResultCount() const { return static_cast<int>(results_.size()); }
    // Matches found since the pattern was set or the last FindFirst.
    int Count() const { return matchCount_; }
    // After a replacement changed the line's length by delta: results beyond first move.
    void FixResults(int first, int delta);

private:
    void InitPattern();
    char16_t Fold(char16_t c) const
    {
        if (sensitive_) {
            return c;
        }
        if (c < 0x80) {
            return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
        }
        return QChar::toLower(c);
    }
    bool PassesWordTest(qsizetype start, qsizetype end) const;

    QString text_;
    qsizetype run_ = -1; // index of the character under test
    qsizetype textLength_ = 0;
    QString pattern_;
    QString folded_;
    int matchCount_ = 0;
    int lookAt_ = 0;
    int patternLength_ = 0;
    std::array<int, 256> skip_{};
    bool sensitive_ = false;
    bool whole_ = false;
    std::vector<int> results_;
    bool prepared_ = false;
};
