#include "editor/highlighting/CodeHighlighterPas.h"

#include "editor/document/CodeEditStrConst.h"
#include "editor/highlighting/CodeHighlighterHashEntries.h"

#include <array>
#include <string_view>
#include <vector>

namespace {

// When a keyword is one.
enum TPasCondition {
    pcAlways,
    pcProperty,          // inside a property declaration
    pcPropertyD3,        // ... from Delphi 3 on
    pcPropertyD4,        // ... from Delphi 4 on
    pcPropertyOrExports, // inside a property declaration or an exports clause
    pcExports,           // inside an exports clause
    pcDelphi2,
    pcDelphi3,
    pcDelphi4,
    pcDelphi6,
    pcPackage, // in package sources
};

// What a keyword does to the range.
enum TPasEffect { peNone, peProperty, peExports, peAsm, peEnd };

struct TPasKeyword {
    std::u16string_view word;
    TPasCondition condition = pcAlways;
    TPasEffect effect = peNone;
};

constexpr TPasKeyword kKeywords[] = {
    {u"If"}, {u"Do"}, {u"And"}, {u"As"}, {u"Of"}, {u"End", pcAlways, peEnd}, {u"In"}, {u"Far"}, {u"Is"},
    {u"Case"}, {u"on"}, {u"Label"}, {u"Mod"}, {u"File"}, {u"Or"}, {u"Asm", pcAlways, peAsm}, {u"Nil"}, {u"To"},
    {u"Div"}, {u"Begin"}, {u"Near"}, {u"For"}, {u"Shl"}, {u"Packed"}, {u"Else"}, {u"Var"}, {u"Set"}, {u"Shr"},
    {u"Then"}, {u"Not"}, {u"Pascal"}, {u"Raise"}, {u"Class"}, {u"Object"}, {u"Out"}, {u"Goto"}, {u"While"},
    {u"Xor"}, {u"With"}, {u"Public"}, {u"Record"}, {u"Array"}, {u"Try"}, {u"Inline"}, {u"Unit"}, {u"Uses"},
    {u"Repeat"}, {u"Type"}, {u"Default"}, {u"Dynamic"}, {u"Message"}, {u"Const"}, {u"Except"}, {u"Until"},
    {u"Finally"}, {u"Interface"}, {u"Abstract"}, {u"Forward"}, {u"Library"}, {u"String"}, {u"Program"},
    {u"Downto"}, {u"Private"}, {u"Inherited"}, {u"Assembler"}, {u"Absolute"}, {u"Published"}, {u"Override"},
    {u"Export"}, {u"External"}, {u"Register"}, {u"Function"}, {u"Virtual"}, {u"Procedure"}, {u"Protected"},
    {u"Exports", pcAlways, peExports}, {u"Property", pcAlways, peProperty}, {u"Destructor"}, {u"Constructor"},
    {u"Implementation"}, {u"Initialization"},
    {u"Read", pcProperty}, {u"Write", pcProperty}, {u"Stored", pcProperty}, {u"Nodefault", pcProperty},
    {u"Readonly", pcPropertyD3}, {u"Writeonly", pcPropertyD3}, {u"Implements", pcPropertyD4},
    {u"Index", pcPropertyOrExports}, {u"name", pcExports},
    {u"Cdecl", pcDelphi2}, {u"Stdcall", pcDelphi2}, {u"Finalization", pcDelphi2},
    {u"Safecall", pcDelphi3}, {u"Dispid", pcDelphi3}, {u"Threadvar", pcDelphi3}, {u"Automated", pcDelphi3},
    {u"Dispinterface", pcDelphi3}, {u"Resourcestring", pcDelphi3}, {u"Stringresource", pcDelphi3},
    {u"overload", pcDelphi4}, {u"Reintroduce", pcDelphi4},
    {u"deprecated", pcDelphi6}, {u"platform", pcDelphi6},
    {u"package", pcPackage}, {u"contains", pcPackage}, {u"requires", pcPackage},
};

// A word's hash: the sum of its letters, "A"/"a" 1 to "Z"/"z" 26. Hashes from here on
// are identifiers without a look.
constexpr int kHashLimit = 192;

constexpr int LetterValue(char16_t c) { return (c | 0x20) - 'a' + 1; }

struct TPasKeywordTable {
    std::array<std::vector<const TPasKeyword*>, kHashLimit> buckets;
    TPasKeywordTable()
    {
        for (const TPasKeyword& keyword : kKeywords) {
            int hash = 0;
            for (char16_t c : keyword.word) {
                hash += LetterValue(c);
            }
            buckets[static_cast<std::size_t>(hash)].push_back(&keyword);
        }
    }
};

const TPasKeywordTable& KeywordTable()
{
    static const TPasKeywordTable table;
    return table;
}

} // namespace

TCodePasHighlighter::TCodePasHighlighter(TComponent* owner)
    : TCodeLanguageHighlighter(owner, {pastkNull, pastkSpace, pastkUnknown})
{
    AsmAttri = MakeAttribute(sCodeAttrAssembler);
    CommentAttri = MakeAttribute(sCodeAttrComment, TFont::fsItalic);
    DirectiveAttri = MakeAttribute(sCodeAttrPreprocessor, TFont::fsItalic);
    IdentifierAttri = MakeAttribute(sCodeAttrIdentifier);
    KeyAttri = MakeAttribute(sCodeAttrReservedWord, TFont::fsBold);
    NumberAttri = MakeAttribute(sCodeAttrNumber);
    FloatAttri = MakeAttribute(sCodeAttrFloat);
    HexAttri = MakeAttribute(sCodeAttrHexadecimal);
    SpaceAttri = MakeAttribute(sCodeAttrSpace);
    StringAttri = MakeAttribute(sCodeAttrString);
    CharAttri = MakeAttribute(sCodeAttrCharacter);
    SymbolAttri = MakeAttribute(sCodeAttrSymbol);
    SetKindAttributes({AsmAttri, CommentAttri, IdentifierAttri, KeyAttri, nullptr, NumberAttri, SpaceAttri,
                       StringAttri, SymbolAttri, SymbolAttri, FloatAttri, HexAttri, DirectiveAttri, CharAttri});
    SetDefaultAttributes({CommentAttri, IdentifierAttri, KeyAttri, StringAttri, SpaceAttri, SymbolAttri});
    FinishAttributes();
    SetDefaultFilter(QString::fromLatin1(sCodeFilterPascal));
    SetIDEColors("Delphi", {{"Assembler", AsmAttri},
                            {"Comment", CommentAttri},
                            {"Identifier", IdentifierAttri},
                            {"Reserved word", KeyAttri},
                            {"Number", NumberAttri},
                            {"Whitespace", SpaceAttri},
                            {"string", StringAttri},
                            {"Symbol", SymbolAttri}});
}

void TCodePasHighlighter::SetDelphiVersion(TDelphiVersion version)
{
    if (version == version_) {
        return;
    }
    version_ = version;
    if (version_ < dvDelphi3) {
        packageSource_ = false;
    }
    NotifyChange();
}

void TCodePasHighlighter::SetPackageSource(bool value)
{
    if (value == packageSource_) {
        return;
    }
    packageSource_ = value;
    if (value && version_ < dvDelphi3) {
        version_ = dvDelphi3;
    }
    NotifyChange();
}

QString TCodePasHighlighter::GetLanguageName() const { return QString::fromLatin1(sCodeLangPascal); }

QString TCodePasHighlighter::GetSampleSource() const
{
    return QStringLiteral("{ Feed rate of a cut, in inches per second }\n"
                          "function FeedRate(const Depth: Double; Passes: Integer = 1): Double;\n"
                          "const\n"
                          "  Base = 1.5E-1; Mask = $FF; Tab = #9;\n"
                          "begin\n"
                          "  (* deeper cuts go slower *)\n"
                          "  if Depth > 0.25 then\n"
                          "    Result := Base * Passes / (Depth * 4)\n"
                          "  else\n"
                          "    Result := Base; // shallow\n"
                          "  asm\n"
                          "    nop\n"
                          "  end;\n"
                          "  Writeln('Feed: ''fast''', Tab);\n"
                          "end;");
}

int TCodePasHighlighter::GetTokenKind() const
{
    if (range_ == pasrsAsm && !asmStart_ && tokenKind_ != pastkComment && tokenKind_ != pastkSpace &&
        tokenKind_ != pastkNull) {
        return pastkAsm;
    }
    return tokenKind_;
}

void TCodePasHighlighter::SetRange(int range)
{
    range_ = range >= pasrsANil && range <= pasrsUnknown ? static_cast<TPasRangeState>(range) : pasrsUnknown;
}

// --- scanning ---------------------------------------------------------------------

void TCodePasHighlighter::Next()
{
    asmStart_ = false;
    tokenPos_ = run_;
    const int c = Ch(run_);
    if (c == kEnd) {
        ScanLineEnd();
        return;
    }
    if (range_ == pasrsBor || range_ == pasrsBorAsm) {
        ScanBorEnd();
        return;
    }
    if (range_ == pasrsAnsi || range_ == pasrsAnsiAsm) {
        ScanAnsiEnd();
        return;
    }
    if (ScanCommon(c)) {
        return;
    }
    switch (c) {
    case '{':
        ScanBrace();
        break;
    case '(':
        ScanRoundOpen();
        break;
    case '/':
        ScanSlash();
        break;
    case '\'':
        ScanString();
        break;
    case '#':
        ScanChar();
        break;
    case '$':
        ScanHex();
        break;
    case ':':
    case '>':
        ScanFollowed("=", pastkSymbol);
        break;
    case '<':
        ScanFollowed("=>", pastkSymbol);
        break;
    case '.':
        ScanFollowed(").", pastkSymbol);
        break;
    case '@':
        ScanFollowed("@", pastkSymbol);
        break;
    case ';':
        ScanSemicolon();
        break;
    case ')':
    case '[':
    case ']':
    case ',':
    case '+':
    case '-':
    case '*':
    case '=':
    case '^':
        ScanSymbol();
        break;
    default:
        ScanWordOrOther(c);
        break;
    }
}

int TCodePasHighlighter::KeywordKind(int hash, int length)
{
    const QStringView word = QStringView(Line()).mid(run_, length);
    for (const TPasKeyword* keyword : KeywordTable().buckets[static_cast<std::size_t>(hash)]) {
        if (!SameAsciiText(keyword->word, word)) {
            continue;
        }
        bool applies = true;
        switch (keyword->condition) {
        case pcAlways:
            break;
        case pcProperty:
            applies = range_ == pasrsProperty;
            break;
        case pcPropertyD3:
            applies = range_ == pasrsProperty && version_ >= dvDelphi3;
            break;
        case pcPropertyD4:
            applies = range_ == pasrsProperty && version_ >= dvDelphi4;
            break;
        case pcPropertyOrExports:
            applies = range_ == pasrsProperty || range_ == pasrsExports;
            break;
        case pcExports:
            applies = range_ == pasrsExports;
            break;
        case pcDelphi2:
            applies = version_ >= dvDelphi2;
            break;
        case pcDelphi3:
            applies = version_ >= dvDelphi3;
            break;
        case pcDelphi4:
            applies = version_ >= dvDelphi4;
            break;
        case pcDelphi6:
            applies = version_ >= dvDelphi6;
            break;
        case pcPackage:
            applies = packageSource_;
            break;
        }
        if (!applies) {
            return pastkIdentifier;
        }
        switch (keyword->effect) {
        case peNone:
            break;
        case peProperty:
            range_ = pasrsProperty;
            break;
        case peExports:
            range_ = pasrsExports;
            break;
        case peAsm:
            range_ = pasrsAsm;
            asmStart_ = true;
            break;
        case peEnd:
            range_ = pasrsUnknown;
            break;
        }
        return pastkKey;
    }
    return pastkIdentifier;
}

void TCodePasHighlighter::ScanIdentifier()
{
    // The hash sums the leading letters; a digit or "_" after them adds one to the
    // length compared, so "end1" is no keyword.
    int hash = 0;
    int i = run_;
    for (int c = Ch(i); IsAsciiLetter(c); c = Ch(++i)) {
        hash += LetterValue(static_cast<char16_t>(c));
    }
    int length = i - run_;
    if (IsDigit(Ch(i)) || Ch(i) == '_') {
        ++length;
    }
    tokenKind_ = hash < kHashLimit ? KeywordKind(hash, length) : pastkIdentifier;
    while (IsWordChar(Ch(run_))) {
        ++run_;
    }
}

void TCodePasHighlighter::ScanBrace()
{
    tokenKind_ = Ch(run_ + 1) == '$' ? pastkDirec : pastkComment;
    range_ = range_ == pasrsAsm ? pasrsBorAsm : pasrsBor;
    ++run_;
    FinishBor();
}

void TCodePasHighlighter::ScanBorEnd()
{
    tokenKind_ = pastkComment; // also the rest of a directive
    FinishBor();
}

void TCodePasHighlighter::FinishBor()
{
    for (int c = Ch(run_); c != kEnd; c = Ch(++run_)) {
        if (c == '}') {
            ++run_;
            range_ = range_ == pasrsBorAsm ? pasrsAsm : pasrsUnknown;
            return;
        }
    }
}

void TCodePasHighlighter::ScanRoundOpen()
{
    const int next = Ch(run_ + 1);
    if (next == '.') {
        run_ += 2;
        tokenKind_ = pastkSymbol;
    } else if (next == '*') {
        range_ = range_ == pasrsAsm ? pasrsAnsiAsm : pasrsAnsi;
        run_ += 2; // so "(*)" opens a comment without closing it
        ScanAnsiEnd();
    } else {
        ScanSymbol();
    }
}

void TCodePasHighlighter::ScanAnsiEnd()
{
    tokenKind_ = pastkComment;
    for (int c = Ch(run_); c != kEnd; c = Ch(++run_)) {
        if (c == '*' && Ch(run_ + 1) == ')') {
            run_ += 2;
            range_ = range_ == pasrsAnsiAsm ? pasrsAsm : pasrsUnknown;
            return;
        }
    }
}

void TCodePasHighlighter::ScanSlash()
{
    if (Ch(run_ + 1) == '/' && version_ >= dvDelphi2) {
        ScanToLineEnd(pastkComment);
    } else {
        ScanSymbol();
    }
}

void TCodePasHighlighter::ScanString()
{
    tokenKind_ = pastkString;
    for (int c = Ch(++run_); c != kEnd; c = Ch(++run_)) {
        if (c == '\'') {
            if (Ch(run_ + 1) != '\'') {
                ++run_;
                return;
            }
            ++run_; // a doubled quote stays inside
        }
    }
}

void TCodePasHighlighter::ScanChar()
{
    for (int c = Ch(++run_); c == '$' || IsHexDigit(c); c = Ch(++run_)) {
    }
    tokenKind_ = pastkChar;
}

void TCodePasHighlighter::ScanHex()
{
    for (int c = Ch(++run_); IsHexDigit(c); c = Ch(++run_)) {
    }
    tokenKind_ = pastkHex;
}

void TCodePasHighlighter::ScanNumber()
{
    tokenKind_ = pastkNumber;
    for (int c = Ch(++run_);; c = Ch(++run_)) {
        if (c == '.') {
            if (Ch(run_ + 1) == '.') {
                break; // a range: 1..9
            }
            tokenKind_ = pastkFloat;
        } else if (c == 'e' || c == 'E') {
            tokenKind_ = pastkFloat;
        } else if (c == '+' || c == '-') {
            if (tokenKind_ != pastkFloat || (Ch(run_ - 1) | 0x20) != 'e') {
                break;
            }
        } else if (!IsDigit(c)) {
            break;
        }
    }
}

void TCodePasHighlighter::ScanSemicolon()
{
    ScanSymbol();
    if (range_ == pasrsProperty || range_ == pasrsExports) {
        range_ = pasrsUnknown;
    }
}
