#pragma once
// The highlighter whose rules are data: a tree of ranges (CodeRuleRange.h) that the
// program builds or reads from a rule text, and a scanner that applies them a line at a
// time.
//
// A line's state is its range's index in the prepared tree (depth-first, root 0), never a
// pointer: SetRange keeps the index and SetLine resolves it after preparing the rules; an
// index that names no range of the current tree (-1, or one from before a rule change)
// starts the line in the root.

#include "editor/highlighting/CodeCustomHighlighter.h"
#include "editor/highlighting/CodeRuleRange.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <vector>

class QIODevice;

class TCodeRuleHighlighter : public TCodeCustomHighlighter {
    KP_CLASS(TCodeRuleHighlighter, TCodeCustomHighlighter)
public:
    // The descriptive block of a rule text.
    struct TInfo {
        struct THighInfo {
            QString Name, FileTypeName, Layout;
        } General;
        struct TAuthorInfo {
            QString Name, Email, Web, Copyright, Company, Remark;
        } Author;
        struct TVersionInfo {
            std::int32_t Version = 0;
            std::int32_t Revision = 0;
            std::uint8_t Type = 0; // 0 internal test, 1 beta, 2 release
            double Date = 0;       // a day count; the fraction is the time of day
        } Version;
        QStringList History;
        QStringList Sample; // also the sample source
    };

    explicit TCodeRuleHighlighter(TComponent* owner = nullptr);
    ~TCodeRuleHighlighter() override;

    // "Root": never replaced.
    TCodeRange* RootRange() const { return root_.get(); }
    TInfo Info;
    // Empties the rule tree.
    void Clear();

    // --- scanning ---
    void SetLine(const QString& text, int lineNumber) override;
    void Next() override;
    void NextToEol() override;
    bool GetEol() const override { return state_.eol; }
    QStringView GetToken() const override
    {
        return QStringView(line_).mid(state_.tokenStart, state_.run - state_.tokenStart);
    }
    int GetTokenPos() const override { return state_.tokenStart; }
    TCodeHighlighterAttributes* GetTokenAttribute() const override { return state_.symbol->Attributes; }
    int GetTokenKind() const override { return 1; }
    int GetRange() const override { return rangeId_; }
    void SetRange(int range) override;
    void ResetRange() override;
    int LineNumber() const { return lineNumber_; }
    // When every range nested in the root closes at the line end and holds no range of
    // its own. Read from the rules, which are never fewer than the prepared tree's.
    bool RangesEndWithLine() const override;

    // --- description ---
    // The current range's DefaultAttri for 0 to 4, else nullptr.
    TCodeHighlighterAttributes* GetDefaultAttribute(int index) const override;
    // Characters 32 to 255 and every code unit above, less the current range's delimiters
    // (those every prepared range has included, prepared or not).
    TCodeCharSet GetWordChars() const override;
    QString GetLanguageName() const override;
    // The Sample lines, each followed by a line feed.
    QString GetSampleSource() const override;
    void SetSampleSource(const QString& text) override;
    // Whether the word is a keyword of the current range (by its case rule).
    bool IsKeyword(const QString& word) const override;

    // --- rule text (CodeRuleText*.cpp) ---
    // The whole tree with the Info block, UTF-8 with line feeds.
    QByteArray RuleText() const;
    void WriteRuleText(QIODevice& stream) const;
    // Replaces the rules and Info when the whole text reads, then fires the change
    // chain. A format error raises Exception with its message and changes nothing.
    // Bytes are UTF-8 when valid, else Windows-1252.
    void ReadRuleText(QByteArrayView bytes);
    void ReadRuleText(QIODevice& stream);
    void ReadRuleText(const QString& text);
    QString Syntax() const;
    void SetSyntax(const QString& text) { ReadRuleText(text); }
    // Streams "Syntax" when the root has nested ranges.
    void DefineProperties(TFiler* filer) override;

private:
    // Where the scan of a line stands.
    struct TScanState {
        TCodeRange* range;          // the current range: valid while a line is scanned
        const TCodeSymbol* symbol;  // of the current token
        int run;
        int tokenStart;
        bool atEnd;                 // the run reached the end of the line
        bool eol;                   // the extra token after it was scanned too
    };

    void Prepare();
    TCodeRange* ResolveRange(int id) const;
    // One token; the caller has checked the end-of-line flag.
    void Scan(TScanState& state);

    std::unique_ptr<TCodeRange> root_;
    QString line_;
    std::vector<char16_t> foldBuffer_;
    const char16_t* folded_ = nullptr;
    int length_ = 0;
    int lineNumber_ = 0;
    TScanState state_{nullptr, nullptr, 0, 0, false, false};
    int rangeId_ = 0; // the line state GetRange reports
};
