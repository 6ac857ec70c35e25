#pragma once
// C and C++ with one vendor's compiler keywords: preprocessor lines, character and string
// literals with escapes, numbers in every notation. Keywords match with case. Symbol
// tokens also carry an extended kind that names the operator.
//
// Next resets every state but the comment, continued-string and continued-directive
// states to neutral before it scans, so the assembler states that "asm" and "{" set
// last to the end of their own token.

#include "editor/highlighting/CodeLanguageHighlighter.h"

enum TCppTokenKind : int {
    cpptkAsm,
    cpptkComment,
    cpptkDirective,
    cpptkIdentifier,
    cpptkKey,
    cpptkNull,
    cpptkNumber,
    cpptkSpace,
    cpptkString,
    cpptkSymbol,
    cpptkUnknown, // an invalid character or a malformed number
    cpptkChar,
    cpptkFloat,
    cpptkHex,
    cpptkOctal,
};

enum TCppExtTokenKind : int {
    xtkNonSymbol,
    xtkAdd,                // +
    xtkAddAssign,          // +=
    xtkAnd,                // &
    xtkAndAssign,          // &=
    xtkArrow,              // ->
    xtkAssign,             // =
    xtkBitComplement,      // ~
    xtkBraceClose,         // }
    xtkBraceOpen,          // {
    xtkColon,              // :
    xtkComma,              // ,
    xtkDecrement,          // --
    xtkDivide,             // /
    xtkDivideAssign,       // /=
    xtkEllipse,            // ...
    xtkGreaterThan,        // >
    xtkGreaterThanEqual,   // >=
    xtkIncOr,              // |
    xtkIncOrAssign,        // |=
    xtkIncrement,          // ++
    xtkLessThan,           // <
    xtkLessThanEqual,      // <=
    xtkLogAnd,             // &&
    xtkLogComplement,      // !
    xtkLogEqual,           // ==
    xtkLogOr,              // ||
    xtkMod,                // %
    xtkModAssign,          // %=
    xtkMultiplyAssign,     // *=
    xtkNotEqual,           // !=
    xtkPoint,              // .
    xtkQuestion,           // ?
    xtkRoundClose,         // )
    xtkRoundOpen,          // (
    xtkScopeResolution,    // ::
    xtkSemiColon,          // ;
    xtkShiftLeft,          // <<
    xtkShiftLeftAssign,    // <<=
    xtkShiftRight,         // >>
    xtkShiftRightAssign,   // >>=
    xtkSquareClose,        // ]
    xtkSquareOpen,         // [
    xtkStar,               // *
    xtkSubtract,           // -
    xtkSubtractAssign,     // -=
    xtkXor,                // ^
    xtkXorAssign,          // ^=
};

enum TCppRangeState : int {
    cpprsUnknown,
    cpprsAnsiC,           // comment
    cpprsAnsiCAsm,        // comment in an assembler statement
    cpprsAnsiCAsmBlock,   // comment in an assembler block
    cpprsAsm,             // assembler statement
    cpprsAsmBlock,        // assembler block
    cpprsDirective,
    cpprsDirectiveComment,
    cpprsString34,        // double-quoted string
    cpprsString39,        // single-quoted string
    cpprsMultiLineString, // a string continued by a final backslash
    cpprsMultiLineDirective,
};

class TCodeCppHighlighter : public TCodeLanguageHighlighter {
    KP_CLASS(TCodeCppHighlighter, TCodeLanguageHighlighter)
public:
    explicit TCodeCppHighlighter(TComponent* owner = nullptr);

    TCodeHighlighterAttributes* AsmAttri;
    TCodeHighlighterAttributes* CommentAttri;
    TCodeHighlighterAttributes* DirecAttri;
    TCodeHighlighterAttributes* IdentifierAttri;
    TCodeHighlighterAttributes* InvalidAttri;
    TCodeHighlighterAttributes* KeyAttri;
    TCodeHighlighterAttributes* NumberAttri;
    TCodeHighlighterAttributes* FloatAttri;
    TCodeHighlighterAttributes* HexAttri;
    TCodeHighlighterAttributes* OctalAttri;
    TCodeHighlighterAttributes* SpaceAttri;
    TCodeHighlighterAttributes* StringAttri;
    TCodeHighlighterAttributes* CharAttri;
    TCodeHighlighterAttributes* SymbolAttri;

    QString GetLanguageName() const override;
    QString GetSampleSource() const override;

    void Next() override;
    int GetTokenKind() const override;
    // The operator of a symbol token; xtkNonSymbol for other tokens.
    TCppExtTokenKind GetExtTokenKind() const { return tokenKind_ == cpptkSymbol ? extKind_ : xtkNonSymbol; }
    int GetRange() const override { return range_; }
    // A value that is no state of this highlighter counts as neutral.
    void SetRange(int range) override;
    void ResetRange() override { range_ = cpprsUnknown; }

private:
    int KeywordKind(int hash, int length);

    void ScanIdentifier() override;
    void ScanNumber() override;
    void ScanPoint();
    void ScanSlash();
    void ScanCommentEnd();
    void ScanHash();
    void ScanDirectiveEnd();
    void ScanString();
    void ScanStringEnd();
    void ScanChar();
    void ScanBraceOpen();
    void ScanBraceClose();
    void ScanInvalid()
    {
        ++run_;
        tokenKind_ = cpptkUnknown;
    }
    void Symbol(int length, TCppExtTokenKind ext)
    {
        run_ += length;
        tokenKind_ = cpptkSymbol;
        extKind_ = ext;
    }
    // The operator starting at the run position; false when there is none.
    bool ScanOperator(int c);

    TCppRangeState range_ = cpprsUnknown;
    TCppExtTokenKind extKind_ = xtkNonSymbol;
    bool asmStart_ = false;
};
