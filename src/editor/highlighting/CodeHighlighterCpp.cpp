#include "editor/highlighting/CodeHighlighterCpp.h"

#include "editor/document/CodeEditStrConst.h"

#include <array>
#include <string_view>
#include <vector>

namespace {

constexpr std::u16string_view kKeywords[] = {
    u"if", u"do", u"cdecl", u"case", u"_cdecl", u"__cdecl", u"char", u"asm", u"_asm", u"__asm", u"catch", u"for",
    u"break", u"else", u"new", u"__int8", u"__int16", u"int", u"__int32", u"__int64", u"false", u"bool", u"long",
    u"void", u"enum", u"delete", u"_pascal", u"__pascal", u"pascal", u"class", u"float", u"this", u"goto",
    u"auto", u"__thread", u"while", u"friend", u"signed", u"double", u"__try", u"try", u"__dispid", u"true",
    u"public", u"inline", u"__rtti", u"__classid", u"__declspec", u"using", u"const", u"default", u"_stdcall",
    u"union", u"__stdcall", u"static", u"__except", u"wchar_t", u"mutable", u"_fastcall", u"__fastcall",
    u"short", u"typeid", u"sizeof", u"__finally", u"namespace", u"switch", u"typedef", u"throw", u"extern",
    u"__import", u"_import", u"private", u"template", u"__closure", u"unsigned", u"return", u"volatile",
    u"_export", u"__export", u"__published", u"explicit", u"typename", u"struct", u"register", u"continue",
    u"__automated", u"virtual", u"protected", u"operator", u"dynamic_cast", u"const_cast", u"static_cast",
    u"__property", u"reinterpret_cast",
};

// A word's hash sums its characters: "A" 1 to "Z" 26, "a" 2 to "z" 27, others 0.
// Hashes from here on are identifiers without a look.
constexpr int kHashLimit = 207;

constexpr int CharValue(int c)
{
    return c >= 'A' && c <= 'Z' ? c - 'A' + 1 : c >= 'a' && c <= 'z' ? c - 'a' + 2 : 0;
}

struct TCppKeywordTable {
    std::array<std::vector<std::u16string_view>, kHashLimit> buckets;
    TCppKeywordTable()
    {
        for (std::u16string_view keyword : kKeywords) {
            int hash = 0;
            for (char16_t c : keyword) {
                hash += CharValue(c);
            }
            buckets[static_cast<std::size_t>(hash)].push_back(keyword);
        }
    }
};

const TCppKeywordTable& KeywordTable()
{
    static const TCppKeywordTable table;
    return table;
}

bool IsAsmKeyword(std::u16string_view word) { return word == u"asm" || word == u"_asm" || word == u"__asm"; }

} // namespace

TCodeCppHighlighter::TCodeCppHighlighter(TComponent* owner)
    : TCodeLanguageHighlighter(owner, {cpptkNull, cpptkSpace, cpptkUnknown})
{
    AsmAttri = MakeAttribute(sCodeAttrAssembler);
    CommentAttri = MakeAttribute(sCodeAttrComment, TFont::fsItalic);
    DirecAttri = MakeAttribute(sCodeAttrPreprocessor);
    IdentifierAttri = MakeAttribute(sCodeAttrIdentifier);
    InvalidAttri = MakeAttribute(sCodeAttrIllegalChar);
    KeyAttri = MakeAttribute(sCodeAttrReservedWord, TFont::fsBold);
    NumberAttri = MakeAttribute(sCodeAttrNumber);
    FloatAttri = MakeAttribute(sCodeAttrFloat);
    HexAttri = MakeAttribute(sCodeAttrHexadecimal);
    OctalAttri = MakeAttribute(sCodeAttrOctal);
    SpaceAttri = MakeAttribute(sCodeAttrSpace);
    SpaceAttri->SetForeground(clWindow);
    StringAttri = MakeAttribute(sCodeAttrString);
    CharAttri = MakeAttribute(sCodeAttrCharacter);
    SymbolAttri = MakeAttribute(sCodeAttrSymbol);
    SetKindAttributes({AsmAttri, CommentAttri, DirecAttri, IdentifierAttri, KeyAttri, nullptr, NumberAttri,
                       SpaceAttri, StringAttri, SymbolAttri, InvalidAttri, CharAttri, FloatAttri, HexAttri,
                       OctalAttri});
    SetDefaultAttributes({CommentAttri, IdentifierAttri, KeyAttri, StringAttri, SpaceAttri, SymbolAttri});
    FinishAttributes();
    SetDefaultFilter(QString::fromLatin1(sCodeFilterCPP));
    // The IDE colours hexadecimal numbers as integers; its plain text has no attribute here.
    SetIDEColors("C++Builder", {{"Assembler", AsmAttri},
                                {"Comment", CommentAttri},
                                {"Identifier", IdentifierAttri},
                                {"Illegal Char", InvalidAttri},
                                {"Reserved word", KeyAttri},
                                {"Integer", NumberAttri},
                                {"Integer", HexAttri},
                                {"Float", FloatAttri},
                                {"Octal", OctalAttri},
                                {"Whitespace", SpaceAttri},
                                {"String", StringAttri},
                                {"Character", CharAttri},
                                {"Symbol", SymbolAttri},
                                {"Preprocessor", DirecAttri}});
}

QString TCodeCppHighlighter::GetLanguageName() const { return QString::fromLatin1(sCodeLangCPP); }

QString TCodeCppHighlighter::GetSampleSource() const
{
    return QStringLiteral("// Spindle speed for a bit\n"
                          "#include <cmath>\n"
                          "#define RPM_MAX 18000 /* router limit */\n"
                          "\n"
                          "static unsigned long Speed(double diameter, int flutes)\n"
                          "{\n"
                          "    const float chip = 0.005f;\n"
                          "    char unit = 'i';\n"
                          "    if (flutes <= 0 || diameter < 1e-3)\n"
                          "        return 0x0UL;\n"
                          "    long rpm = static_cast<long>(120.0 / (chip * flutes)) & 0777;\n"
                          "    return rpm > RPM_MAX ? RPM_MAX : rpm; // \"clamped\"\n"
                          "}");
}

int TCodeCppHighlighter::GetTokenKind() const
{
    if ((range_ == cpprsAsm || range_ == cpprsAsmBlock) && !asmStart_ && tokenKind_ != cpptkComment &&
        tokenKind_ != cpptkSpace && tokenKind_ != cpptkNull) {
        return cpptkAsm;
    }
    return tokenKind_;
}

void TCodeCppHighlighter::SetRange(int range)
{
    range_ = range >= cpprsUnknown && range <= cpprsMultiLineDirective ? static_cast<TCppRangeState>(range)
                                                                       : cpprsUnknown;
}

// --- scanning ---------------------------------------------------------------------

void TCodeCppHighlighter::Next()
{
    asmStart_ = false;
    tokenPos_ = run_;
    const int c = Ch(run_);
    if (c == kEnd) {
        // A continued string or directive goes on only past a final backslash: an
        // empty line, or a directive comment closing at the line's end, stops it.
        if ((range_ == cpprsMultiLineString || range_ == cpprsMultiLineDirective) &&
            (Length() == 0 || Line().back() != QLatin1Char('\\'))) {
            range_ = cpprsUnknown;
        }
        ScanLineEnd();
        return;
    }
    switch (range_) {
    case cpprsDirectiveComment:
        if (c == '/' && Ch(run_ + 1) == '*') {
            run_ += 2; // the directive stopped before the comment's opening
        }
        [[fallthrough]];
    case cpprsAnsiC:
    case cpprsAnsiCAsm:
    case cpprsAnsiCAsmBlock:
        ScanCommentEnd();
        return;
    case cpprsMultiLineString:
        ScanStringEnd();
        return;
    case cpprsMultiLineDirective:
        ScanDirectiveEnd();
        return;
    default:
        range_ = cpprsUnknown;
        break;
    }
    if (ScanCommon(c) || ScanOperator(c)) {
        return;
    }
    switch (c) {
    case '/':
        ScanSlash();
        break;
    case '.':
        ScanPoint();
        break;
    case '"':
        ScanString();
        break;
    case '\'':
        ScanChar();
        break;
    case '#':
        ScanHash();
        break;
    case '{':
        ScanBraceOpen();
        break;
    case '}':
        ScanBraceClose();
        break;
    default:
        ScanWordOrOther(c); // "@", "$", "`" and "\\" begin no token
        break;
    }
}

bool TCodeCppHighlighter::ScanOperator(int c)
{
    const int n1 = Ch(run_ + 1);
    const int n2 = Ch(run_ + 2);
    switch (c) {
    case '&':
        n1 == '&' ? Symbol(2, xtkLogAnd) : n1 == '=' ? Symbol(2, xtkAndAssign) : Symbol(1, xtkAnd);
        break;
    case ':':
        n1 == ':' ? Symbol(2, xtkScopeResolution) : Symbol(1, xtkColon);
        break;
    case '=':
        n1 == '=' ? Symbol(2, xtkLogEqual) : Symbol(1, xtkAssign);
        break;
    case '>':
        if (n1 == '>') {
            n2 == '=' ? Symbol(3, xtkShiftRightAssign) : Symbol(2, xtkShiftRight);
        } else {
            n1 == '=' ? Symbol(2, xtkGreaterThanEqual) : Symbol(1, xtkGreaterThan);
        }
        break;
    case '<':
        if (n1 == '<') {
            n2 == '=' ? Symbol(3, xtkShiftLeftAssign) : Symbol(2, xtkShiftLeft);
        } else {
            n1 == '=' ? Symbol(2, xtkLessThanEqual) : Symbol(1, xtkLessThan);
        }
        break;
    case '-':
        n1 == '-'   ? Symbol(2, xtkDecrement)
        : n1 == '=' ? Symbol(2, xtkSubtractAssign)
        : n1 == '>' ? Symbol(2, xtkArrow)
                    : Symbol(1, xtkSubtract);
        break;
    case '+':
        n1 == '+' ? Symbol(2, xtkIncrement) : n1 == '=' ? Symbol(2, xtkAddAssign) : Symbol(1, xtkAdd);
        break;
    case '|':
        n1 == '|' ? Symbol(2, xtkLogOr) : n1 == '=' ? Symbol(2, xtkIncOrAssign) : Symbol(1, xtkIncOr);
        break;
    case '!':
        n1 == '=' ? Symbol(2, xtkNotEqual) : Symbol(1, xtkLogComplement);
        break;
    case '%':
        n1 == '=' ? Symbol(2, xtkModAssign) : Symbol(1, xtkMod);
        break;
    case '*':
        n1 == '=' ? Symbol(2, xtkMultiplyAssign) : Symbol(1, xtkStar);
        break;
    case '^':
        n1 == '=' ? Symbol(2, xtkXorAssign) : Symbol(1, xtkXor);
        break;
    case '?':
        Symbol(1, xtkQuestion);
        break;
    case '~':
        Symbol(1, xtkBitComplement);
        break;
    case ',':
        Symbol(1, xtkComma);
        break;
    case ';':
        Symbol(1, xtkSemiColon);
        break;
    case '(':
        Symbol(1, xtkRoundOpen);
        break;
    case ')':
        Symbol(1, xtkRoundClose);
        break;
    case '[':
        Symbol(1, xtkSquareOpen);
        break;
    case ']':
        Symbol(1, xtkSquareClose);
        break;
    default:
        return false;
    }
    return true;
}

int TCodeCppHighlighter::KeywordKind(int hash, int length)
{
    const QStringView word = QStringView(Line()).mid(run_, length);
    const std::u16string_view text(reinterpret_cast<const char16_t*>(word.utf16()), static_cast<std::size_t>(length));
    for (std::u16string_view keyword : KeywordTable().buckets[static_cast<std::size_t>(hash)]) {
        if (keyword == text) {
            if (IsAsmKeyword(keyword)) {
                range_ = cpprsAsm;
                asmStart_ = true;
            }
            return cpptkKey;
        }
    }
    return cpptkIdentifier;
}

void TCodeCppHighlighter::ScanIdentifier()
{
    int hash = 0;
    int i = run_;
    for (int c = Ch(i); IsWordChar(c); c = Ch(++i)) {
        hash += CharValue(c);
    }
    tokenKind_ = hash < kHashLimit ? KeywordKind(hash, i - run_) : cpptkIdentifier;
    run_ = i;
}

void TCodeCppHighlighter::ScanNumber()
{
    // Over "+", "-", ".", digits and the letters A to F, L, U and X in either case, each
    // character checked against what came before it.
    bool hex = false;
    bool octal = false;
    bool badOctalDigit = false;
    bool isFloat = false;
    bool exponent = false;
    bool suffixF = false;
    bool suffixL = false;
    bool suffixU = false;
    bool invalid = false;
    int i = run_;
    if (Ch(i) == '0') {
        if ((Ch(i + 1) | 0x20) == 'x' && IsHexDigit(Ch(i + 2))) {
            hex = true;
            i += 2;
        } else if (IsDigit(Ch(i + 1))) {
            octal = true;
            ++i;
        }
    }
    for (;; ++i) {
        const int c = Ch(i);
        const bool suffix = suffixF || suffixL || suffixU;
        if (IsDigit(c) || (hex && !suffix && IsHexDigit(c))) {
            if (suffix) {
                invalid = true;
            } else if (octal && c >= '8') {
                badOctalDigit = true;
            }
            continue;
        }
        const int lower = c | 0x20;
        if (c == '.') {
            if (Ch(i + 1) == '.') {
                break;
            }
            if (hex || isFloat || exponent || suffix) {
                invalid = true;
            }
            isFloat = true;
        } else if (lower == 'e' && !hex && !suffix) {
            if (exponent) {
                invalid = true;
            }
            exponent = true;
            isFloat = true;
        } else if (c == '+' || c == '-') {
            if (!exponent || (Ch(i - 1) | 0x20) != 'e') {
                break;
            }
        } else if (lower == 'f' && !hex) {
            if (suffixL) {
                break; // "F" after "L" ends the number
            }
            invalid |= suffixF;
            suffixF = true;
            isFloat = true;
        } else if (lower == 'l') {
            if (suffixF) {
                break; // "L" after "F" ends the number
            }
            invalid |= suffixL;
            suffixL = true;
        } else if (lower == 'u' && !isFloat) {
            invalid |= suffixU;
            suffixU = true;
        } else {
            break;
        }
    }
    if (badOctalDigit && !isFloat) {
        invalid = true;
    }
    if (IsWordChar(Ch(i))) {
        // A letter or "_" run on to the number ("12ab", "1.0fL") spoils all of it.
        invalid = true;
        while (IsWordChar(Ch(i))) {
            ++i;
        }
    }
    run_ = i;
    tokenKind_ = invalid   ? cpptkUnknown
                 : isFloat ? cpptkFloat
                 : hex     ? cpptkHex
                 : octal   ? cpptkOctal
                           : cpptkNumber;
}

void TCodeCppHighlighter::ScanPoint()
{
    if (IsDigit(Ch(run_ + 1))) {
        ScanNumber();
    } else if (Ch(run_ + 1) == '.' && Ch(run_ + 2) == '.') {
        Symbol(3, xtkEllipse);
    } else {
        Symbol(1, xtkPoint);
    }
}

void TCodeCppHighlighter::ScanSlash()
{
    const int next = Ch(run_ + 1);
    if (next == '*') {
        switch (range_) {
        case cpprsAsm:
            range_ = cpprsAnsiCAsm;
            break;
        case cpprsAsmBlock:
            range_ = cpprsAnsiCAsmBlock;
            break;
        case cpprsDirective:
        case cpprsMultiLineDirective:
            range_ = cpprsDirectiveComment;
            break;
        default:
            range_ = cpprsAnsiC;
            break;
        }
        run_ += 2;
        ScanCommentEnd();
    } else if (next == '/') {
        ScanToLineEnd(cpptkComment);
    } else if (next == '=') {
        Symbol(2, xtkDivideAssign);
    } else {
        Symbol(1, xtkDivide);
    }
}

void TCodeCppHighlighter::ScanCommentEnd()
{
    tokenKind_ = cpptkComment;
    for (int c = Ch(run_); c != kEnd; c = Ch(++run_)) {
        if (c == '*' && Ch(run_ + 1) == '/') {
            run_ += 2;
            switch (range_) {
            case cpprsAnsiCAsm:
                range_ = cpprsAsm;
                break;
            case cpprsAnsiCAsmBlock:
                range_ = cpprsAsmBlock;
                break;
            case cpprsDirectiveComment:
                range_ = cpprsMultiLineDirective; // the directive goes on after the comment
                break;
            default:
                range_ = cpprsUnknown;
                break;
            }
            return;
        }
    }
    if (range_ == cpprsDirectiveComment) {
        range_ = cpprsAnsiC;
    }
}

void TCodeCppHighlighter::ScanHash()
{
    for (int i = 0; i < run_; ++i) {
        if (!IsBlank(Ch(i))) {
            ScanInvalid(); // a directive begins a line
            return;
        }
    }
    ScanDirectiveEnd();
}

void TCodeCppHighlighter::ScanDirectiveEnd()
{
    tokenKind_ = cpptkDirective;
    for (int c = Ch(run_); c != kEnd; c = Ch(++run_)) {
        const int next = Ch(run_ + 1);
        if (c != '/' || (next != '/' && next != '*')) {
            continue;
        }
        if (run_ > tokenPos_) {
            range_ = next == '/' ? cpprsUnknown : cpprsDirectiveComment;
        } else if (next == '/') {
            range_ = cpprsUnknown; // nothing of the directive before the comment
            ScanToLineEnd(cpptkComment);
        } else {
            range_ = cpprsDirectiveComment;
            run_ += 2;
            ScanCommentEnd();
        }
        return;
    }
    range_ = Line().back() == QLatin1Char('\\') ? cpprsMultiLineDirective : cpprsUnknown;
}

void TCodeCppHighlighter::ScanString()
{
    ++run_;
    ScanStringEnd();
}

void TCodeCppHighlighter::ScanStringEnd()
{
    tokenKind_ = cpptkString;
    range_ = cpprsUnknown;
    for (int c = Ch(run_); c != kEnd; c = Ch(++run_)) {
        if (c == '\\') {
            const int next = Ch(run_ + 1);
            if (next == kEnd) {
                ++run_;
                range_ = cpprsMultiLineString;
                return;
            }
            if (next == '"' || next == '\\') {
                ++run_;
            }
        } else if (c == '"') {
            ++run_;
            return;
        }
    }
}

void TCodeCppHighlighter::ScanChar()
{
    tokenKind_ = cpptkChar;
    for (int c = Ch(++run_); c != kEnd; c = Ch(++run_)) {
        if (c == '\\') {
            const int next = Ch(run_ + 1);
            if (next == '\'' || next == '\\') {
                ++run_;
            }
        } else if (c == '\'') {
            ++run_;
            return;
        }
    }
}

void TCodeCppHighlighter::ScanBraceOpen()
{
    const bool opensBlock = range_ == cpprsAsm;
    Symbol(1, xtkBraceOpen);
    if (opensBlock) {
        range_ = cpprsAsmBlock;
        asmStart_ = true;
    }
}

void TCodeCppHighlighter::ScanBraceClose()
{
    Symbol(1, xtkBraceClose);
    if (range_ == cpprsAsmBlock) {
        range_ = cpprsUnknown;
    }
}
