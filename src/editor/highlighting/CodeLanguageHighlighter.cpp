#include "editor/highlighting/CodeLanguageHighlighter.h"

#include <QChar>

#include <cstring>

TCodeLanguageHighlighter::TCodeLanguageHighlighter(TComponent* owner, TCommonKinds kinds)
    : TCodeCustomHighlighter(owner), tokenKind_(kinds.null), kinds_(kinds)
{
}

void TCodeLanguageHighlighter::SetLine(const QString& text, int lineNumber)
{
    line_ = text;
    text_ = reinterpret_cast<const char16_t*>(line_.utf16());
    length_ = static_cast<int>(line_.size());
    lineNumber_ = lineNumber;
    run_ = 0;
    Next();
}

TCodeHighlighterAttributes* TCodeLanguageHighlighter::GetTokenAttribute() const
{
    const int kind = GetTokenKind();
    return kind >= 0 && kind < static_cast<int>(byKind_.size()) ? byKind_[static_cast<std::size_t>(kind)] : nullptr;
}

TCodeHighlighterAttributes* TCodeLanguageHighlighter::GetDefaultAttribute(int index) const
{
    return index >= 0 && index < static_cast<int>(defaults_.size()) ? defaults_[static_cast<std::size_t>(index)]
                                                                    : nullptr;
}

TCodeHighlighterAttributes* TCodeLanguageHighlighter::MakeAttribute(const char* name, TFontStyles style)
{
    auto attribute = std::make_unique<TCodeHighlighterAttributes>(QString::fromLatin1(name));
    attribute->SetStyle(style);
    return AddAttribute(std::move(attribute));
}

void TCodeLanguageHighlighter::FinishAttributes()
{
    AttachAttributeHandlers(MakeDelegate<&TCodeLanguageHighlighter::AttributeChanged>(this));
}

TCodeCharSet TCodeLanguageHighlighter::GetWordChars() const
{
    TCodeCharSet set;
    set.IncludeRange(u'0', u'9');
    set.IncludeRange(u'A', u'Z');
    set.IncludeRange(u'a', u'z');
    set.Include(u'_');
    return set;
}

TCodeHighlighterCapabilities TCodeLanguageHighlighter::GetCapabilities() const
{
    const TCodeHighlighterCapabilities base = TCodeCustomHighlighter::GetCapabilities();
    return ideProduct_ ? base | hcUserSettings : base;
}

void TCodeLanguageHighlighter::ListSettingsEntries(QStringList& entries) const
{
    if (ideProduct_) {
        ListIDEVersions(ideProduct_, entries);
    } else {
        TCodeCustomHighlighter::ListSettingsEntries(entries);
    }
}

bool TCodeLanguageHighlighter::UseSettingsEntry(const QString& entry)
{
    return ideProduct_ && LoadIDEColors(ideProduct_, entry, ideEntries_);
}

void TCodeLanguageHighlighter::ScanLineEnd() { tokenKind_ = kinds_.null; }

void TCodeLanguageHighlighter::ScanLineBreak()
{
    if (Ch(run_) == '\r' && Ch(run_ + 1) == '\n') {
        ++run_;
    }
    ++run_;
    tokenKind_ = kinds_.whitespace;
}

void TCodeLanguageHighlighter::ScanBlanks()
{
    while (IsBlank(Ch(run_))) {
        ++run_;
    }
    tokenKind_ = kinds_.whitespace;
}

void TCodeLanguageHighlighter::ScanOther()
{
    if (QChar::isHighSurrogate(static_cast<char32_t>(Ch(run_))) && Ch(run_ + 1) != kEnd &&
        QChar::isLowSurrogate(static_cast<char32_t>(Ch(run_ + 1)))) {
        ++run_;
    }
    ++run_;
    tokenKind_ = kinds_.other;
}

void TCodeLanguageHighlighter::ScanFollowed(const char* followers, int kind)
{
    const int next = Ch(run_ + 1);
    run_ += next > 0 && next < 128 && std::strchr(followers, next) ? 2 : 1;
    tokenKind_ = kind;
}

void TCodeLanguageHighlighter::ScanToLineEnd(int kind)
{
    run_ = length_;
    tokenKind_ = kind;
}

bool TCodeLanguageHighlighter::ScanCommon(int c)
{
    if (c == kEnd) {
        ScanLineEnd();
    } else if (c == '\r' || c == '\n') {
        ScanLineBreak();
    } else if (IsBlank(c)) {
        ScanBlanks();
    } else {
        return false;
    }
    return true;
}

void TCodeLanguageHighlighter::ScanWordOrOther(int c)
{
    if (IsDigit(c)) {
        ScanNumber();
    } else if (IsAsciiLetter(c) || c == '_') {
        ScanIdentifier();
    } else {
        ScanOther();
    }
}
