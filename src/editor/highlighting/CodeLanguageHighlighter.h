#pragma once
// The scanning scheme the highlighters with a built-in language share: a line, the run
// position (the next code unit to scan), the current token's start and kind, and the
// operations every language scans alike. A derived class scans one token per Next,
// setting the run position past it and the kind; it reports the null kind at the line's
// end, which is its length: a NUL inside the line is an ordinary character.
//
// Kinds are each language's own small numbers; the class tells the scheme which of them
// mean end of line, whitespace and "begins no token", and which attribute each kind gets.

#include "editor/highlighting/CodeCustomHighlighter.h"
#include "editor/highlighting/CodeHighlighterIDESettings.h"

#include <QString>

#include <array>
#include <vector>

class TCodeLanguageHighlighter : public TCodeCustomHighlighter {
    KP_CLASS(TCodeLanguageHighlighter, TCodeCustomHighlighter)
public:
    struct TCommonKinds {
        int null;
        int whitespace;
        int other; // a character that begins no token
    };

    TCodeLanguageHighlighter(TComponent* owner, TCommonKinds kinds);

    void SetLine(const QString& text, int lineNumber) override;
    bool GetEol() const override { return tokenKind_ == kinds_.null; }
    QStringView GetToken() const override { return QStringView(line_).mid(tokenPos_, run_ - tokenPos_); }
    int GetTokenPos() const override { return tokenPos_; }
    int GetTokenKind() const override { return tokenKind_; }
    TCodeHighlighterAttributes* GetTokenAttribute() const override;
    TCodeHighlighterAttributes* GetDefaultAttribute(int index) const override;
    int LineNumber() const { return lineNumber_; }

    // Letters, digits and "_".
    TCodeCharSet GetWordChars() const override;
    // With an IDE to take colours from: the user-settings capability, its installed
    // versions, and taking over one version's colours.
    TCodeHighlighterCapabilities GetCapabilities() const override;
    void ListSettingsEntries(QStringList& entries) const override;
    bool UseSettingsEntry(const QString& entry) override;

protected:
    static constexpr int kEnd = -1;

    // The code unit at i, kEnd at or past the line's end.
    int Ch(int i) const { return i < length_ ? static_cast<int>(text_[i]) : kEnd; }
    static constexpr bool IsDigit(int c) { return c >= '0' && c <= '9'; }
    static constexpr bool IsAsciiLetter(int c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; }
    static constexpr bool IsHexDigit(int c) { return IsDigit(c) || ((c | 0x20) >= 'a' && (c | 0x20) <= 'f'); }
    // Blanks and control characters other than NUL and the line breaks.
    static constexpr bool IsBlank(int c) { return c > 0 && c <= ' ' && c != '\r' && c != '\n'; }
    // Letters, digits and "_" (code units above 255 never belong to a word).
    static constexpr bool IsWordChar(int c) { return IsAsciiLetter(c) || IsDigit(c) || c == '_'; }

    // The operations every language shares; each scans from the run position.
    void ScanLineEnd();    // null kind, nothing consumed
    void ScanLineBreak();  // CR (with a following LF) or LF: whitespace
    void ScanBlanks();     // a run of blanks: whitespace
    void ScanOther();      // one character, a surrogate pair whole: the other kind
    // One character, or two when the next is one of the ASCII `followers`.
    void ScanFollowed(const char* followers, int kind);
    void ScanToLineEnd(int kind);
    // The shared dispatch for line ends, breaks and blanks; false when `c` is none.
    bool ScanCommon(int c);
    // A digit begins a number, a letter or "_" an identifier; anything else begins no token.
    void ScanWordOrOther(int c);
    virtual void ScanNumber() = 0;
    virtual void ScanIdentifier() = 0;

    // The attribute of each kind (nullptr for the null kind), and those of the default
    // indexes in their order: comment, identifier, keyword, string, whitespace, symbol.
    void SetKindAttributes(std::vector<TCodeHighlighterAttributes*> byKind) { byKind_ = std::move(byKind); }
    void SetDefaultAttributes(const std::array<TCodeHighlighterAttributes*, 6>& defaults) { defaults_ = defaults; }
    // Created with the name and style, added to the attribute list.
    TCodeHighlighterAttributes* MakeAttribute(const char* name, TFontStyles style = 0);
    // Called by the derived constructor once its attributes are made and styled.
    void FinishAttributes();
    // The IDE ("Delphi") whose editor colours the settings entries offer, and which of
    // its entries goes into which attribute.
    void SetIDEColors(const char* product, std::vector<TCodeIDEColorEntry> entries)
    {
        ideProduct_ = product;
        ideEntries_ = std::move(entries);
    }

    const QString& Line() const { return line_; }
    int Length() const { return length_; }

    int run_ = 0;
    int tokenPos_ = 0;
    int tokenKind_;

private:
    void AttributeChanged(TObject*) { NotifyChange(); }

    TCommonKinds kinds_;
    QString line_;
    const char16_t* text_ = u"";
    int length_ = 0;
    int lineNumber_ = 0;
    std::vector<TCodeHighlighterAttributes*> byKind_;
    std::array<TCodeHighlighterAttributes*, 6> defaults_{};
    const char* ideProduct_ = nullptr;
    std::vector<TCodeIDEColorEntry> ideEntries_;
};
