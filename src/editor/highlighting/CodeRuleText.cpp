#include "editor/highlighting/CodeRuleText.h"

namespace {

constexpr const char* kTagNames[rtTagCount] = {
    "AnyTerm",  "Attri",        "Author",  "Back",     "CaseSensitive", "CloseOnEol", "CloseOnTerm", "CloseSymbol",
    "Company",  "Copyright",    "Date",    "Def",      "DelimiterChars", "Email",     "FileTypeName", "Fore",
    "General",  "H",            "History", "Info",     "KW",            "Layout",     "Name",        "Num",
    "OpenSymbol", "Range",      "Remark",  "Revision", "S",             "Sample",     "Style",       "Type",
    "UniHighlighter", "Version", "W",      "Web",
};

struct TEscape {
    QChar character;
    QLatin1StringView form;
};
const TEscape kEscapes[] = {{QLatin1Char('&'), QLatin1StringView("&amp;")},
                            {QLatin1Char('<'), QLatin1StringView("&lt;")},
                            {QLatin1Char('"'), QLatin1StringView("&qt;")},
                            {QLatin1Char('>'), QLatin1StringView("&gt;")}};

} // namespace

const char* RuleTagName(TCodeRuleTag tag) { return kTagNames[tag]; }

TCodeRuleTag FindRuleTag(QStringView name)
{
    for (int i = 0; i < rtTagCount; ++i) {
        if (name.compare(QLatin1StringView(kTagNames[i]), Qt::CaseInsensitive) == 0) {
            return static_cast<TCodeRuleTag>(i);
        }
    }
    return rtNone;
}

QString EscapeRuleValue(QStringView text)
{
    QString result;
    result.reserve(text.size());
    for (QChar c : text) {
        bool escaped = false;
        for (const TEscape& e : kEscapes) {
            if (c == e.character) {
                result += e.form;
                escaped = true;
                break;
            }
        }
        if (!escaped) {
            result += c;
        }
    }
    return result;
}

QString UnescapeRuleValue(QStringView text)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        bool decoded = false;
        if (text[i] == QLatin1Char('&')) {
            for (const TEscape& e : kEscapes) {
                if (text.mid(i).startsWith(e.form)) {
                    result += e.character;
                    i += e.form.size() - 1;
                    decoded = true;
                    break;
                }
            }
        }
        if (!decoded) {
            result += text[i];
        }
    }
    return result;
}
