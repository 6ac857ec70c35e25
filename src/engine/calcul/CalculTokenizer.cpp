// The tokenizer of TCalcul: turns the formula text into token codes, one at a time.

#include "engine/calcul/Calcul.h"
#include "engine/calcul/CalculFunctionNames.h"

using namespace calc;

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsNameChar(char c) { return IsLetter(c) || IsDigit(c) || c == '_' || c == '.'; }
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

struct Keyword {
    std::string_view word;
    int token;
};
constexpr Keyword kKeywords[] = {
    {"and", tkAnd}, {"or", tkOr}, {"div", tkDiv}, {"mod", tkMod}, {"like", tkLike}, {"wildcard", tkWildcard},
};

} // namespace

// Reads digits, then an optional "." with at least one digit, then an optional exponent
// with at least one digit. A "." or exponent mark without its digits is an error.
void TCalcul::ReadNumber(std::size_t& pos)
{
    const std::size_t n = FText.size();
    while (pos < n && IsDigit(FText[pos])) {
        ++pos;
    }
    bool bad = false;
    if (pos < n && FText[pos] == '.') {
        if (pos + 1 < n && IsDigit(FText[pos + 1])) {
            pos += 1;
            while (pos < n && IsDigit(FText[pos])) {
                ++pos;
            }
        } else {
            bad = true;
        }
    }
    if (!bad && pos < n && (FText[pos] == 'e' || FText[pos] == 'E')) {
        std::size_t p = pos + 1;
        if (p < n && (FText[p] == '+' || FText[p] == '-')) {
            ++p;
        }
        if (p < n && IsDigit(FText[p])) {
            while (p < n && IsDigit(FText[p])) {
                ++p;
            }
            pos = p;
        } else {
            bad = true;
        }
    }
    if (bad) {
        std::string message = "Wrong number in ";
        message.append(FText);
        SetError(message);
    }
}

// A name, a function token ("name("), a keyword operator or an inline definition.
void TCalcul::ReadName()
{
    const std::size_t n = FText.size();
    const std::size_t start = FPosition;
    std::size_t pos = start;
    while (pos < n && IsNameChar(FText[pos])) {
        ++pos;
    }
    FTokenText.assign(FText.substr(start, pos - start));
    FToken = tkName;
    if (pos < n && FText[pos] == '(') {
        FTokenText += '('; // the "(" itself stays to be read as the next token
    } else if (pos + 1 < n && FText[pos] == ':' && FText[pos + 1] == '=') {
        // name:=text defines the name inline, up to the first ";" outside quotes.
        std::size_t end = pos + 2;
        bool inString = false;
        while (end < n && (inString || FText[end] != ';')) {
            if (FText[end] == '"') {
                inString = !inString;
            }
            ++end;
        }
        std::string line = "@@";
        line.append(FTokenText).append("=[").append(FText.substr(pos + 2, end - pos - 2)).append("]");
        FVariables.Add(std::move(line));
        FMadeDefinition = true;
        FTokenText.insert(0, "@@");
        FPosition = end;
        return;
    }
    FPosition = pos;
    if (FTokenText.size() < 2) {
        return;
    }
    FLowerName.resize(FTokenText.size());
    for (std::size_t i = 0; i < FTokenText.size(); ++i) {
        FLowerName[i] = Lower(FTokenText[i]);
    }
    if (FLowerName.back() == '(') {
        const int code = FunctionCode(FLowerName);
        if (code == 0) {
            std::string message = "Invalid function ";
            message.append(FTokenText).append("...)");
            SetError(message);
            FToken = tkEnd;
        } else {
            FToken = code;
        }
        return;
    }
    for (const Keyword& k : kKeywords) {
        if (FLowerName == k.word) {
            FToken = k.token;
            return;
        }
    }
}

int TCalcul::NextToken()
{
    FTokenText.clear();
    const std::size_t n = FText.size();
    while (FPosition < n && (static_cast<unsigned char>(FText[FPosition]) <= 13 || FText[FPosition] == ' ')) {
        ++FPosition;
    }
    if (FPosition >= n) {
        FToken = tkEnd;
        return FToken;
    }
    const char c = FText[FPosition];
    const char next = FPosition + 1 < n ? FText[FPosition + 1] : '\0';
    int token = tkEnd;
    switch (c) {
    case '"': {
        std::size_t pos = FPosition + 1;
        bool closed = false;
        while (pos < n) {
            if (FText[pos] == '"') {
                if (pos + 1 < n && FText[pos + 1] == '"') {
                    FTokenText += '"';
                    pos += 2;
                    continue;
                }
                closed = true;
                break;
            }
            FTokenText += FText[pos++];
        }
        if (!closed) {
            SetError("String value end error");
            FPosition = n;
            FToken = tkEnd;
            return FToken;
        }
        FPosition = pos + 1;
        token = tkString;
        break;
    }
    case '-':
        if (IsDigit(next) && (FCurToken == tkEnd || FCurToken == tkOpen)) {
            std::size_t pos = FPosition + 1;
            ReadNumber(pos);
            FTokenText.assign(FText.substr(FPosition, pos - FPosition));
            FPosition = pos;
            token = tkNumber;
        } else {
            ++FPosition;
            token = tkMinus;
        }
        break;
    case '(': ++FPosition; token = tkOpen; break;
    case ')': ++FPosition; token = tkClose; break;
    case '+': ++FPosition; token = tkPlus; break;
    case '*': ++FPosition; token = tkTimes; break;
    case '/': ++FPosition; token = tkDivide; break;
    case '^': ++FPosition; token = tkPower; break;
    case ',': ++FPosition; token = tkComma; break;
    case ';': ++FPosition; token = tkSemicolon; break;
    case '=': ++FPosition; token = tkEqual; break;
    case '<':
        if (next == '=') {
            FPosition += 2;
            token = tkLessEqual;
        } else if (next == '>') {
            FPosition += 2;
            token = tkNotEqual;
        } else {
            ++FPosition;
            token = tkLess;
        }
        break;
    case '>':
        if (next == '=') {
            FPosition += 2;
            token = tkGreaterEqual;
        } else {
            ++FPosition;
            token = tkGreater;
        }
        break;
    case '|':
        FPosition += next == '|' ? 2 : 1;
        token = tkConcat;
        break;
    case '\'':
        // A quote starts a name but is no part of it: the name is empty and the text
        // after the quote is read as the following tokens.
        if (FPosition + 1 >= n) {
            SetError("invalid formule");
            FPosition = n;
            FToken = tkEnd;
            return FToken;
        }
        ++FPosition;
        token = tkName;
        break;
    default:
        if (IsDigit(c)) {
            std::size_t pos = FPosition;
            ReadNumber(pos);
            FTokenText.assign(FText.substr(FPosition, pos - FPosition));
            FPosition = pos;
            token = tkNumber;
        } else if (IsLetter(c) || c == '_') {
            ReadName();
            token = FToken;
        } else {
            // A character that starts no token ends the expression here.
            ++FPosition;
            token = tkEnd;
        }
        break;
    }
    FPrevToken = FCurToken;
    FCurToken = token;
    FToken = token;
    return token;
}
