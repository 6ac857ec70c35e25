#pragma once
// A set of the 256 character codes 0..255, as highlighters keep word-break and delimiter
// characters. Lines are UTF-16: a code unit above 255 is never a member of a set built
// from codes, but a set may say that all such code units belong to it (word characters
// do: letters of other scripts are part of words).

#include <QChar>
#include <QStringView>

#include <cstdint>

class TCodeCharSet {
public:
    constexpr TCodeCharSet() = default;

    constexpr bool Contains(char16_t c) const
    {
        return c < 256 ? (bits_[c >> 6] >> (c & 63)) & 1 : high_;
    }
    bool Contains(QChar c) const { return Contains(c.unicode()); }
    // Codes above 255 are ignored: only the high flag speaks for them.
    constexpr void Include(char16_t c)
    {
        if (c < 256) {
            bits_[c >> 6] |= std::uint64_t{1} << (c & 63);
        }
    }
    constexpr void Exclude(char16_t c)
    {
        if (c < 256) {
            bits_[c >> 6] &= ~(std::uint64_t{1} << (c & 63));
        }
    }
    constexpr void IncludeRange(char16_t first, char16_t last)
    {
        for (unsigned c = first; c <= last; ++c) {
            Include(static_cast<char16_t>(c));
        }
    }
    constexpr bool HighCodesIncluded() const { return high_; }
    constexpr void SetHighCodesIncluded(bool value) { high_ = value; }
    // Codes in this set that are not in `other`; the high flag likewise.
    constexpr TCodeCharSet Minus(const TCodeCharSet& other) const
    {
        TCodeCharSet result;
        for (int i = 0; i < 4; ++i) {
            result.bits_[i] = bits_[i] & ~other.bits_[i];
        }
        result.high_ = high_ && !other.high_;
        return result;
    }
    constexpr bool operator==(const TCodeCharSet&) const = default;

private:
    std::uint64_t bits_[4] = {0, 0, 0, 0};
    bool high_ = false;
};

// What every prepared rule range breaks words at, whatever its rules say: the end of the
// text, line breaks and white space (a tab-indented keyword is still a word of its own).
inline constexpr char16_t AlwaysDelimiters[] = {u'\0', u'\t', u'\n', u'\r', u' '};

// The set of the text's characters (codes above 255 left out).
TCodeCharSet TextToCharSet(QStringView text);
// The members in ascending code order from 1 to 255, without those every prepared rule
// range holds anyway.
QString CharSetToText(const TCodeCharSet& set);
