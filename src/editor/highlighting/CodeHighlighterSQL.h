#pragma once
// SQL in one of eight dialects. The keywords of the dialect and the user's table names
// live in a chained hash list that is rebuilt whenever the dialect or the table names
// change; every rebuild tells the editors through the change chain. Keywords match
// ignoring ASCII case.

#include "editor/document/CodeEditStringList.h"
#include "editor/highlighting/CodeHighlighterHashEntries.h"
#include "editor/highlighting/CodeLanguageHighlighter.h"

enum TSQLDialect {
    sqlStandard,
    sqlInterbase6,
    sqlMSSQL7,
    sqlMySQL,
    sqlOracle,
    sqlSybase,
    sqlIngres,
    sqlMSSQL2K,
};

enum TSQLTokenKind : int {
    sqltkComment,
    sqltkDatatype,
    sqltkDefaultPackage,
    sqltkException,
    sqltkFunction,
    sqltkIdentifier,
    sqltkKey,
    sqltkNull,
    sqltkNumber,
    sqltkSpace,
    sqltkPLSQL,
    sqltkSQLPlus,
    sqltkString,
    sqltkSymbol,
    sqltkTableName,
    sqltkUnknown,
    sqltkVariable,
};

enum TSQLRangeState : int { sqlrsUnknown, sqlrsComment, sqlrsString };

class TCodeSQLHighlighter : public TCodeLanguageHighlighter {
    KP_CLASS(TCodeSQLHighlighter, TCodeLanguageHighlighter)
public:
    explicit TCodeSQLHighlighter(TComponent* owner = nullptr);
    ~TCodeSQLHighlighter() override;

    TSQLDialect SQLDialect() const { return dialect_; }
    void SetSQLDialect(TSQLDialect dialect);
    // Editing the list rebuilds the keyword lists.
    TCodeEditStringList& TableNames() { return tableNames_; }
    const TCodeEditStringList& TableNames() const { return tableNames_; }
    void SetTableNames(const TCodeEditStringList& names) { tableNames_.Assign(&names); }
    const TCodeHashEntryList& Keywords() const { return keywords_; }

    TCodeHighlighterAttributes* CommentAttri;
    TCodeHighlighterAttributes* DataTypeAttri;
    TCodeHighlighterAttributes* DefaultPackageAttri;
    TCodeHighlighterAttributes* ExceptionAttri;
    TCodeHighlighterAttributes* FunctionAttri;
    TCodeHighlighterAttributes* IdentifierAttri;
    TCodeHighlighterAttributes* KeyAttri;
    TCodeHighlighterAttributes* NumberAttri;
    TCodeHighlighterAttributes* PLSQLAttri;
    TCodeHighlighterAttributes* SpaceAttri;
    TCodeHighlighterAttributes* SQLPlusAttri;
    TCodeHighlighterAttributes* StringAttri;
    TCodeHighlighterAttributes* SymbolAttri;
    TCodeHighlighterAttributes* TableNameAttri;
    TCodeHighlighterAttributes* VariableAttri;

    void Assign(const TPersistent* source) override;
    bool IsKeyword(const QString& word) const override;
    TCodeCharSet GetWordChars() const override;
    QString GetLanguageName() const override;
    QString GetSampleSource() const override;

    void Next() override;
    int GetRange() const override { return range_; }
    // A value that is no state of this highlighter counts as neutral.
    void SetRange(int range) override;
    void ResetRange() override { range_ = sqlrsUnknown; }

private:
    void TableNamesChanged(TObject*) { RebuildKeywords(); }
    void RebuildKeywords();
    void AddKeyword(QStringView word, int kind);
    // Over the word's leading identifier characters.
    int HashOf(QStringView word) const;
    // The kind of the word in the chain of `hash`; the identifier kind when it is none.
    int LookUp(int hash, QStringView word) const;
    // Likewise for any text; the identifier kind when it holds a character that is no
    // identifier character.
    int KindOfWord(QStringView word) const;
    bool IsIdentChar(int c) const { return c >= 0 && c < 256 && identChars_[static_cast<std::size_t>(c)]; }
    bool SQLServer() const { return dialect_ == sqlMSSQL7 || dialect_ == sqlMSSQL2K; }

    // Identifier characters from the run position, looked up.
    void ScanWord();
    void ScanIdentifier() override;
    void ScanNumber() override;
    void ScanVariable();
    void ScanAt();
    void ScanColon();
    void ScanLessThan();
    void ScanMinus();
    void ScanSlash();
    void ScanHash();
    void ScanCommentEnd();
    void ScanQuoted();
    void ScanStringEnd();
    void ScanDoubleQuoted();
    void ScanSymbol()
    {
        ++run_;
        tokenKind_ = sqltkSymbol;
    }

    TSQLDialect dialect_ = sqlStandard;
    TSQLRangeState range_ = sqlrsUnknown;
    TCodeHashEntryList keywords_;
    TCodeEditStringList tableNames_;
    const bool* identChars_;
    const int* hashValues_;
};
