#include "editor/document/CodeEditSearch.h"

#include "platform/core/Exceptions.h"

bool IsWordDelimiter(char32_t codePoint)
{
    return codePoint != U'_' && !QChar::isLetterOrNumber(codePoint);
}

void TCodeEditSearch::SetPattern(const QString& pattern)
{
    if (pattern != pattern_) {
        pattern_ = pattern;
        prepared_ = false;
    }
    matchCount_ = 0;
}

void TCodeEditSearch::SetSensitive(bool sensitive)
{
    if (sensitive != sensitive_) {
        sensitive_ = sensitive;
        prepared_ = false;
    }
}

void TCodeEditSearch::InitPattern()
{
    const int length = static_cast<int>(pattern_.size());
    if (length == 0) {
        throw Exception("Pattern is empty");
    }
    patternLength_ = length;
    folded_ = pattern_;
    for (QChar& c : folded_) {
        c = QChar(Fold(c.unicode()));
    }
    // Entries are keyed by the low byte of the folded character. Characters sharing a
    // key share the smallest shift, which is never more than is safe for any of them.
    skip_.fill(length + 1);
    for (int i = 1; i <= length; ++i) {
        skip_[folded_[i - 1].unicode() & 0xFF] = length + 1 - i;
    }
    lookAt_ = length;
    const char16_t last = folded_[length - 1].unicode();
    for (int k = 1; k < length; ++k) {
        if (folded_[length - 1 - k].unicode() == last) {
            lookAt_ = k;
            break;
        }
    }
    prepared_ = true;
}

int TCodeEditSearch::FindFirst(const QString& text)
{
    if (!prepared_) {
        InitPattern();
    }
    matchCount_ = 0;
    if (text.size() < patternLength_) {
        text_.clear();
        textLength_ = 0;
        run_ = -1;
        return 0;
    }
    text_ = text;
    textLength_ = text.size();
    run_ = -1;
    return Next();
}

bool TCodeEditSearch::PassesWordTest(qsizetype start, qsizetype end) const
{
    const QChar* t = text_.constData();
    if (start > 0) {
        char32_t before = t[start - 1].unicode();
        if (t[start - 1].isLowSurrogate() && start >= 2 && t[start - 2].isHighSurrogate()) {
            before = QChar::surrogateToUcs4(t[start - 2], t[start - 1]);
        }
        if (!IsWordDelimiter(before)) {
            return false;
        }
    }
    if (end < textLength_) {
        char32_t after = t[end].unicode();
        if (t[end].isHighSurrogate() && end + 1 < textLength_ && t[end + 1].isLowSurrogate()) {
            after = QChar::surrogateToUcs4(t[end], t[end + 1]);
        }
        if (!IsWordDelimiter(after)) {
            return false;
        }
    }
    return true;
}

int TCodeEditSearch::Next()
{
    if (!prepared_ || textLength_ == 0) {
        return 0;
    }
    const char16_t* t = reinterpret_cast<const char16_t*>(text_.constData());
    const char16_t* p = reinterpret_cast<const char16_t*>(folded_.constData());
    const int length = patternLength_;
    const char16_t last = p[length - 1];
    run_ += length;
    while (run_ < textLength_) {
        if (Fold(t[run_]) == last) {
            const qsizetype start = run_ - length + 1;
            int i = 0;
            while (i < length - 1 && Fold(t[start + i]) == p[i]) {
                ++i;
            }
            if (i == length - 1 && (!whole_ || PassesWordTest(start, run_ + 1))) {
                ++matchCount_;
                return static_cast<int>(start + 1);
            }
            run_ += lookAt_;
            if (run_ >= textLength_) {
                return 0;
            }
            run_ += skip_[Fold(t[run_]) & 0xFF] - 1;
        } else {
            if (run_ + 1 >= textLength_) {
                return 0;
            }
            run_ += skip_[Fold(t[run_ + 1]) & 0xFF];
        }
    }
    return 0;
}

int TCodeEditSearch::FindAll(const QString& text)
{
    results_.clear();
    for (int found = FindFirst(text); found != 0; found = Next()) {
        results_.push_back(found);
    }
    return ResultCount();
}

int TCodeEditSearch::Results(int index) const
{
    return index >= 0 && index < ResultCount() ? results_[static_cast<std::size_t>(index)] : 0;
}

void TCodeEditSearch::FixResults(int first, int delta)
{
    if (delta == 0) {
        return;
    }
    for (auto it = results_.rbegin(); it != results_.rend() && *it > first; ++it) {
        *it -= delta;
    }
}
