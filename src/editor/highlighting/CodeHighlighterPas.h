#pragma once
// Object Pascal. Which words are keywords depends on the language version, on whether
// the text is a package source, and on context: the words of a property declaration or
// an exports clause count only there, and inside an assembler block every token but
// comments and blanks is assembler. Keywords match ignoring ASCII case.

#include "editor/highlighting/CodeLanguageHighlighter.h"

enum TDelphiVersion { dvDelphi1, dvDelphi2, dvDelphi3, dvDelphi4, dvDelphi5, dvDelphi6 };

enum TPasTokenKind : int {
    pastkAsm,
    pastkComment,
    pastkIdentifier,
    pastkKey,
    pastkNull,
    pastkNumber,
    pastkSpace,
    pastkString,
    pastkSymbol,
    pastkUnknown,
    pastkFloat,
    pastkHex,
    pastkDirec,
    pastkChar,
};

enum TPasRangeState : int {
    pasrsANil,
    pasrsAnsi,      // (* comment
    pasrsAnsiAsm,   // (* comment inside assembler
    pasrsAsm,
    pasrsBor,       // { comment
    pasrsBorAsm,    // { comment inside assembler
    pasrsProperty,
    pasrsExports,
    pasrsUnknown,   // neutral
};

class TCodePasHighlighter : public TCodeLanguageHighlighter {
    KP_CLASS(TCodePasHighlighter, TCodeLanguageHighlighter)
public:
    explicit TCodePasHighlighter(TComponent* owner = nullptr);

    TDelphiVersion DelphiVersion() const { return version_; }
    // Below Delphi 3 there are no package sources.
    void SetDelphiVersion(TDelphiVersion version);
    bool PackageSource() const { return packageSource_; }
    // A package source needs Delphi 3 at least: setting it raises a lower version.
    void SetPackageSource(bool value);
    bool D4syntax() const { return version_ >= dvDelphi4; }
    // Follows DelphiVersion; setting it changes nothing.
    void SetD4syntax(bool) {}

    TCodeHighlighterAttributes* AsmAttri;
    TCodeHighlighterAttributes* CommentAttri;
    TCodeHighlighterAttributes* DirectiveAttri;
    TCodeHighlighterAttributes* IdentifierAttri;
    TCodeHighlighterAttributes* KeyAttri;
    TCodeHighlighterAttributes* NumberAttri;
    TCodeHighlighterAttributes* FloatAttri;
    TCodeHighlighterAttributes* HexAttri;
    TCodeHighlighterAttributes* SpaceAttri;
    TCodeHighlighterAttributes* StringAttri;
    TCodeHighlighterAttributes* CharAttri;
    TCodeHighlighterAttributes* SymbolAttri;

    QString GetLanguageName() const override;
    QString GetSampleSource() const override;

    void Next() override;
    int GetTokenKind() const override;
    int GetRange() const override { return range_; }
    // A value that is no state of this highlighter counts as neutral.
    void SetRange(int range) override;
    void ResetRange() override { range_ = pasrsUnknown; }

private:
    bool InAsm() const { return range_ == pasrsAsm || range_ == pasrsAnsiAsm || range_ == pasrsBorAsm; }
    int KeywordKind(int hash, int length);

    void ScanIdentifier() override;
    void ScanBrace();
    void ScanBorEnd();
    void FinishBor();
    void ScanRoundOpen();
    void ScanAnsiEnd();
    void ScanSlash();
    void ScanString();
    void ScanChar();
    void ScanHex();
    void ScanNumber() override;
    void ScanSemicolon();
    void ScanSymbol()
    {
        ++run_;
        tokenKind_ = pastkSymbol;
    }

    TDelphiVersion version_ = dvDelphi6;
    bool packageSource_ = true;
    TPasRangeState range_ = pasrsUnknown;
    bool asmStart_ = false;
};
