#include "editor/highlighting/CodeHighlighterSQL.h"

#include "editor/document/CodeEditStrConst.h"
#include "editor/highlighting/CodeHighlighterSQLWords.h"

#include <array>

namespace {

// Which characters continue a word and what each adds to its hash. The SQL Server
// dialects take the at sign into words ("@@ERROR", "@local").
struct TSQLCharTables {
    std::array<bool, 256> ident{};
    std::array<int, 256> hash{};
    TCodeCharSet identSet;
};

constexpr TSQLCharTables MakeCharTables(bool atSign)
{
    TSQLCharTables t;
    for (int c = 0; c < 256; ++c) {
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        t.ident[c] = letter || (c >= '0' && c <= '9') || c == '_' || c == '#' || c == '$' || (atSign && c == '@');
        if (letter) {
            t.hash[c] = (c & ~0x20) - 'A' + 2;
        } else if (c == '_') {
            t.hash[c] = 1;
        } else if (atSign && c == '@') {
            t.hash[c] = 28;
        }
        if (t.ident[c]) {
            t.identSet.Include(static_cast<char16_t>(c));
        }
    }
    return t;
}

constexpr TSQLCharTables kPlainTables = MakeCharTables(false);
constexpr TSQLCharTables kSQLServerTables = MakeCharTables(true);

constexpr bool IsKeywordKind(int kind)
{
    return kind == sqltkDatatype || kind == sqltkDefaultPackage || kind == sqltkException || kind == sqltkFunction ||
           kind == sqltkKey || kind == sqltkPLSQL;
}

} // namespace

TCodeSQLHighlighter::TCodeSQLHighlighter(TComponent* owner)
    : TCodeLanguageHighlighter(owner, {sqltkNull, sqltkSpace, sqltkUnknown}),
      identChars_(kPlainTables.ident.data()), hashValues_(kPlainTables.hash.data())
{
    tableNames_.OnChange = MakeDelegate<&TCodeSQLHighlighter::TableNamesChanged>(this);
    CommentAttri = MakeAttribute(sCodeAttrComment, TFont::fsItalic);
    DataTypeAttri = MakeAttribute(sCodeAttrDataType, TFont::fsBold);
    DefaultPackageAttri = MakeAttribute(sCodeAttrDefaultPackages, TFont::fsBold);
    ExceptionAttri = MakeAttribute(sCodeAttrException, TFont::fsItalic);
    FunctionAttri = MakeAttribute(sCodeAttrFunction, TFont::fsBold);
    IdentifierAttri = MakeAttribute(sCodeAttrIdentifier);
    KeyAttri = MakeAttribute(sCodeAttrReservedWord, TFont::fsBold);
    NumberAttri = MakeAttribute(sCodeAttrNumber);
    PLSQLAttri = MakeAttribute(sCodeAttrPLSQL, TFont::fsBold);
    SpaceAttri = MakeAttribute(sCodeAttrSpace);
    SQLPlusAttri = MakeAttribute(sCodeAttrSQLPlus, TFont::fsBold);
    StringAttri = MakeAttribute(sCodeAttrString);
    SymbolAttri = MakeAttribute(sCodeAttrSymbol);
    TableNameAttri = MakeAttribute(sCodeAttrTableName);
    VariableAttri = MakeAttribute(sCodeAttrVariable);
    SetKindAttributes({CommentAttri, DataTypeAttri, DefaultPackageAttri, ExceptionAttri, FunctionAttri,
                       IdentifierAttri, KeyAttri, nullptr, NumberAttri, SpaceAttri, PLSQLAttri, SQLPlusAttri,
                       StringAttri, SymbolAttri, TableNameAttri, IdentifierAttri, VariableAttri});
    SetDefaultAttributes({CommentAttri, IdentifierAttri, KeyAttri, StringAttri, SpaceAttri, SymbolAttri});
    FinishAttributes();
    SetDefaultFilter(QString::fromLatin1(sCodeFilterSQL));
    dialect_ = sqlSybase;
    RebuildKeywords();
}

TCodeSQLHighlighter::~TCodeSQLHighlighter() { tableNames_.OnChange = nullptr; }

void TCodeSQLHighlighter::SetSQLDialect(TSQLDialect dialect)
{
    if (dialect != dialect_) {
        dialect_ = dialect;
        RebuildKeywords();
    }
}

void TCodeSQLHighlighter::RebuildKeywords()
{
    keywords_.Clear();
    const TSQLCharTables& tables = SQLServer() ? kSQLServerTables : kPlainTables;
    identChars_ = tables.ident.data();
    hashValues_ = tables.hash.data();
    const TCodeKeywordCallback add = [this](QStringView word, int kind) { AddKeyword(word, kind); };
    for (const TSQLWordList& list : SQLDialectWordLists(dialect_)) {
        EnumerateKeywords(list.kind, list.words, tables.identSet, add);
    }
    for (int i = 0; i < tableNames_.Count(); ++i) {
        const QString name = tableNames_.Get(i);
        if (name.isEmpty()) {
            continue; // no scanned word is empty
        }
        const int hash = HashOf(name);
        bool known = false;
        for (const TCodeHashEntry* entry = keywords_.Get(hash); entry && !known; entry = entry->Next()) {
            known = SameAsciiText(entry->Keyword(), name);
        }
        if (!known) {
            keywords_.Put(hash, std::make_unique<TCodeHashEntry>(name, sqltkTableName));
        }
    }
    NotifyChange();
}

int TCodeSQLHighlighter::HashOf(QStringView word) const
{
    int hash = 0;
    for (QChar c : word) {
        if (!IsIdentChar(c.unicode())) {
            break;
        }
        hash = (hash * 2 + hashValues_[c.unicode()]) & 0xFF;
    }
    return hash;
}

void TCodeSQLHighlighter::AddKeyword(QStringView word, int kind)
{
    keywords_.Put(HashOf(word), std::make_unique<TCodeHashEntry>(word.toString(), kind));
}

int TCodeSQLHighlighter::LookUp(int hash, QStringView word) const
{
    for (const TCodeHashEntry* entry = keywords_.Get(hash); entry; entry = entry->Next()) {
        if (entry->KeyLength() > word.size()) {
            break;
        }
        if (SameAsciiText(entry->Keyword(), word)) {
            return entry->Kind();
        }
    }
    return sqltkIdentifier;
}

int TCodeSQLHighlighter::KindOfWord(QStringView word) const
{
    for (QChar c : word) {
        if (!IsIdentChar(c.unicode())) {
            return sqltkIdentifier;
        }
    }
    return word.isEmpty() ? sqltkIdentifier : LookUp(HashOf(word), word);
}

bool TCodeSQLHighlighter::IsKeyword(const QString& word) const { return IsKeywordKind(KindOfWord(word)); }

void TCodeSQLHighlighter::Assign(const TPersistent* source)
{
    TCodeLanguageHighlighter::Assign(source);
    if (const auto* other = ObjectCast<TCodeSQLHighlighter>(source)) {
        SetSQLDialect(other->dialect_);
    }
}

TCodeCharSet TCodeSQLHighlighter::GetWordChars() const
{
    TCodeCharSet set = TCodeLanguageHighlighter::GetWordChars();
    set.IncludeRange(192, 255);
    set.Exclude(215);
    set.Exclude(247);
    if (dialect_ == sqlOracle) {
        set.Include(u'#');
        set.Include(u'$');
    } else if (SQLServer()) {
        set.Include(u'@');
    }
    return set;
}

QString TCodeSQLHighlighter::GetLanguageName() const { return QString::fromLatin1(sCodeLangSQL); }

QString TCodeSQLHighlighter::GetSampleSource() const
{
    return QStringLiteral("-- Jobs cut in the last week, longest first\n"
                          "SELECT j.job_id, m.name, SUM(p.length * 1.05) AS cut_length\n"
                          "  FROM jobs j JOIN machines m ON m.id = j.machine_id\n"
                          " WHERE j.finished >= '2024-01-08' /* inclusive */\n"
                          " GROUP BY j.job_id, m.name\n"
                          "HAVING COUNT(*) > 3\n"
                          " ORDER BY cut_length DESC;");
}

void TCodeSQLHighlighter::SetRange(int range)
{
    range_ = range == sqlrsComment || range == sqlrsString ? static_cast<TSQLRangeState>(range) : sqlrsUnknown;
}

// --- scanning ---------------------------------------------------------------------

void TCodeSQLHighlighter::Next()
{
    tokenPos_ = run_;
    const int c = Ch(run_);
    if (c == kEnd) {
        ScanLineEnd();
        return;
    }
    if (range_ == sqlrsComment) {
        ScanCommentEnd();
        return;
    }
    if (range_ == sqlrsString) {
        ScanStringEnd();
        return;
    }
    if (ScanCommon(c)) {
        return;
    }
    switch (c) {
    case '&':
        ScanFollowed("&=", sqltkSymbol);
        break;
    case '=':
    case '>':
        ScanFollowed("=>", sqltkSymbol);
        break;
    case '<':
        ScanLessThan();
        break;
    case '|':
        ScanFollowed("|=", sqltkSymbol);
        break;
    case '+':
        ScanFollowed("+=", sqltkSymbol);
        break;
    case '!':
    case '%':
    case '*':
    case '^':
        ScanFollowed("=", sqltkSymbol);
        break;
    case '/':
        ScanSlash();
        break;
    case '-':
        ScanMinus();
        break;
    case '(':
    case ')':
    case ',':
    case '.':
    case ';':
    case '?':
    case '[':
    case ']':
    case '{':
    case '}':
    case '~':
        ScanSymbol();
        break;
    case '#':
        ScanHash();
        break;
    case '\'':
        ScanQuoted();
        break;
    case '"':
        ScanDoubleQuoted();
        break;
    case ':':
        ScanColon();
        break;
    case '@':
        ScanAt();
        break;
    default:
        ScanWordOrOther(c);
        break;
    }
}

void TCodeSQLHighlighter::ScanWord()
{
    int hash = 0;
    const int start = run_;
    for (int c = Ch(run_); IsIdentChar(c); c = Ch(++run_)) {
        hash = (hash * 2 + hashValues_[c]) & 0xFF;
    }
    tokenKind_ = LookUp(hash, QStringView(Line()).mid(start, run_ - start));
}

void TCodeSQLHighlighter::ScanIdentifier()
{
    ScanWord();
    if (tokenKind_ == sqltkComment) {
        ScanToLineEnd(sqltkComment); // REM and its abbreviations
    }
}

void TCodeSQLHighlighter::ScanNumber()
{
    // Digits, points and minus signs, stopping before a range ("..") or a comment ("--").
    for (int c = Ch(++run_);; c = Ch(++run_)) {
        if ((c == '.' || c == '-') && Ch(run_ + 1) == c) {
            break;
        }
        if (!IsDigit(c) && c != '.' && c != '-') {
            break;
        }
    }
    tokenKind_ = sqltkNumber;
}

void TCodeSQLHighlighter::ScanVariable()
{
    ++run_;
    while (IsIdentChar(Ch(run_))) {
        ++run_;
    }
    tokenKind_ = sqltkVariable;
}

void TCodeSQLHighlighter::ScanAt()
{
    if (dialect_ == sqlMySQL || dialect_ == sqlOracle) {
        ScanSymbol();
    } else if (dialect_ == sqlMSSQL7 && Ch(run_ + 1) == '@') {
        ScanWord(); // a global variable of the server, listed among the functions
    } else {
        ScanVariable();
    }
}

void TCodeSQLHighlighter::ScanColon()
{
    if (dialect_ == sqlOracle || dialect_ == sqlIngres) {
        ScanVariable();
    } else {
        ScanSymbol();
    }
}

void TCodeSQLHighlighter::ScanLessThan()
{
    if (Ch(run_ + 1) == '<') {
        run_ += Ch(run_ + 2) == '=' ? 3 : 2;
        tokenKind_ = sqltkSymbol;
    } else {
        ScanFollowed("=", sqltkSymbol);
    }
}

void TCodeSQLHighlighter::ScanMinus()
{
    if (Ch(run_ + 1) == '-') {
        ScanToLineEnd(sqltkComment);
    } else {
        ScanSymbol();
    }
}

void TCodeSQLHighlighter::ScanSlash()
{
    if (Ch(run_ + 1) == '*') {
        run_ += 2;
        range_ = sqlrsComment;
        ScanCommentEnd();
    } else {
        ScanFollowed("=", sqltkSymbol);
    }
}

void TCodeSQLHighlighter::ScanHash()
{
    if (dialect_ == sqlMySQL && run_ == 0) {
        ScanToLineEnd(sqltkComment);
    } else {
        ScanOther();
    }
}

void TCodeSQLHighlighter::ScanCommentEnd()
{
    tokenKind_ = sqltkComment;
    for (int c = Ch(run_); c != kEnd; c = Ch(++run_)) {
        if (c == '*' && Ch(run_ + 1) == '/') {
            run_ += 2;
            range_ = sqlrsUnknown;
            return;
        }
    }
}

void TCodeSQLHighlighter::ScanQuoted()
{
    ++run_;
    range_ = sqlrsString;
    ScanStringEnd();
}

void TCodeSQLHighlighter::ScanStringEnd()
{
    tokenKind_ = sqltkString;
    // MySQL's backslash escapes the character after it, so 'it\'s' is one string and
    // 'C:\\' ends at its last quote.
    const bool escapes = dialect_ == sqlMySQL;
    for (int c = Ch(run_); c != kEnd; c = Ch(++run_)) {
        if (escapes && c == '\\' && Ch(run_ + 1) != kEnd) {
            ++run_;
        } else if (c == '\'') {
            ++run_;
            range_ = sqlrsUnknown;
            return;
        }
    }
}

void TCodeSQLHighlighter::ScanDoubleQuoted()
{
    tokenKind_ = sqltkString;
    const bool escapes = dialect_ == sqlMySQL;
    for (int c = Ch(++run_); c != kEnd; c = Ch(++run_)) {
        const int next = Ch(run_ + 1);
        if ((c == '\\' && (next == '"' || (escapes && next != kEnd))) || (c == '"' && next == '"')) {
            ++run_;
        } else if (c == '"') {
            ++run_;
            return;
        }
    }
}
