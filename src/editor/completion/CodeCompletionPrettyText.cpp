#include "editor/completion/CodeCompletionPrettyText.h"

#include <QStringList>

namespace {

constexpr char16_t ColorCode1 = 1;
constexpr char16_t ColorCode2 = 2;
constexpr char16_t StyleCode = 3;

// Walks the codes of a pretty text and reports each drawable character (or tab) with
// the colour and style in force.
template <class OnChar>
void WalkPrettyText(const QString& text, bool highlighted, OnChar onChar)
{
    TFontStyles style = 0;
    bool colored = false;
    TColor color = clNone;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == ColorCode1 || c == ColorCode2) {
            if (i + 3 < text.size() && !highlighted) {
                colored = true;
                color = RGB(text[i + 1].unicode() & 0xFF, text[i + 2].unicode() & 0xFF, text[i + 3].unicode() & 0xFF);
            }
            i += 3;
        } else if (c == StyleCode) {
            if (i + 1 < text.size()) {
                const char16_t letter = text[i + 1].unicode();
                const auto set = [&style](TFontStyles bit, bool on) {
                    style = static_cast<TFontStyles>(on ? style | bit : style & ~bit);
                };
                switch (letter) {
                case u'B': set(TFont::fsBold, true); break;
                case u'b': set(TFont::fsBold, false); break;
                case u'I': set(TFont::fsItalic, true); break;
                case u'i': set(TFont::fsItalic, false); break;
                case u'U': set(TFont::fsUnderline, true); break;
                case u'u': set(TFont::fsUnderline, false); break;
                default: break;
                }
            }
            ++i;
        } else {
            onChar(text[i], style, colored, color);
            if (c == u'\t') {
                style = static_cast<TFontStyles>(style ^ TFont::fsBold);
            }
        }
    }
}

} // namespace

std::vector<TPrettyRun> LayoutPrettyText(const QString& text, int x, bool highlighted, int biggestWordWidth,
                                         bool align, const TPrettyMeasure& measure)
{
    std::vector<TPrettyRun> runs;
    const bool columns = align && text.contains(QLatin1Char('\t'));
    bool firstColumn = true;
    bool newRun = true;
    WalkPrettyText(text, highlighted, [&](QChar c, TFontStyles style, bool colored, TColor color) {
        if (c == QLatin1Char('\t')) {
            if ((style & TFont::fsBold) != 0) {
                ++x; // bold goes off
            }
            if (align && firstColumn) {
                x = biggestWordWidth + 1;
            }
            firstColumn = false;
            newRun = true;
            return;
        }
        if (columns && firstColumn && x >= biggestWordWidth) {
            newRun = true;
            return;
        }
        const int width = measure(style, QString(c));
        if (newRun || runs.back().style != style || runs.back().colored != colored || runs.back().color != color) {
            runs.push_back(TPrettyRun{QString(), x, 0, style, colored, color});
            newRun = false;
        }
        runs.back().text += c;
        runs.back().width += width;
        x += width;
    });
    return runs;
}

QString PrettyTextPlain(const QString& text)
{
    QString plain;
    WalkPrettyText(text, true, [&plain](QChar c, TFontStyles, bool, TColor) { plain += c; });
    return plain;
}

QString MarkCurrentParameter(const QString& parameters, int index)
{
    QStringList items = parameters.split(QLatin1Char(','));
    for (qsizetype i = 0; i < items.size(); ++i) {
        items[i] = items[i].trimmed();
        if (i == index) {
            items[i] = QLatin1Char('\t') + items[i] + QLatin1Char('\t');
        }
    }
    return items.join(QLatin1String(", "));
}
