#include "platform/gui/QtCanvasFonts.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QString>

#include <algorithm>
#include <map>
#include <memory>
#include <tuple>

namespace {

// Faces that programs ask for when they want a character grid.
bool IsFixedPitchFace(const QString& name)
{
    static const char* const faces[] = {"Courier New", "Courier", "Terminal", "Fixedsys", "Lucida Console",
                                        "Consolas",    "System"};
    for (const char* face : faces) {
        if (name.compare(QLatin1String(face), Qt::CaseInsensitive) == 0) {
            return true;
        }
    }
    return false;
}

using TKey = std::tuple<std::string, int, TFontStyles>;
using TCache = std::map<TKey, std::unique_ptr<TQtCanvasFont>>;

TCache*& Cache()
{
    static TCache* cache = nullptr;
    return cache;
}

// Qt's font objects must go before the application object does.
void DropCache()
{
    delete Cache();
    Cache() = nullptr;
}

} // namespace

QString QtFontFamily(const std::string& name)
{
    const QString family = QString::fromStdString(name);
    if (IsFixedPitchFace(family) && !QFontDatabase::hasFamily(family)) {
        return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
    }
    return family;
}

TQtCanvasFont::TQtCanvasFont(const TCanvasFont& d) : metricsF(QFont())
{
    font.setFamily(QtFontFamily(d.name));
    font.setPixelSize(std::max(1, d.height));
    font.setBold((d.style & TFont::fsBold) != 0);
    font.setItalic((d.style & TFont::fsItalic) != 0);
    font.setUnderline((d.style & TFont::fsUnderline) != 0);
    font.setStrikeOut((d.style & TFont::fsStrikeOut) != 0);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(false);
    raw = QRawFont::fromFont(font);
    metricsF = QFontMetricsF(font);

    const QFontMetrics m(font);
    metrics.ascent = m.ascent();
    metrics.descent = m.descent();
    metrics.height = metrics.ascent + metrics.descent;
    metrics.internalLeading = std::max(0, metrics.height - font.pixelSize());
    metrics.externalLeading = std::max(0, m.leading());
    metrics.averageCharWidth = m.averageCharWidth();
    metrics.maxCharWidth = m.maxWidth();
    metrics.overhang = 0;
    for (char16_t c = 0; c < 128; ++c) {
        asciiAdvance[c] = qRound(metricsF.horizontalAdvance(QChar(c)));
        const QChar ch(c);
        quint32 glyph = 0;
        int count = 1;
        if (c >= 32 && raw.glyphIndexesForChars(&ch, 1, &glyph, &count) && glyph != 0) {
            asciiInk[c] = raw.boundingRect(glyph);
        }
    }
}

QRectF TQtCanvasFont::Ink(char32_t character, quint32 glyph) const
{
    return character < 128 ? asciiInk[character] : raw.boundingRect(glyph);
}

int TQtCanvasFont::Advance(char32_t c) const
{
    if (c < 128) {
        return asciiAdvance[c];
    }
    const char32_t units[] = {c};
    return qRound(metricsF.horizontalAdvance(QString::fromUcs4(units, 1)));
}

int TQtCanvasFont::Width(std::u16string_view text) const
{
    int width = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1])) {
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        }
        width += Advance(c);
    }
    return width;
}

const TQtCanvasFont& QtCanvasFont(const TCanvasFont& description)
{
    if (!Cache()) {
        Cache() = new TCache;
        qAddPostRoutine(DropCache);
    }
    auto& slot = (*Cache())[TKey{description.name, description.height, description.style}];
    if (!slot) {
        slot = std::make_unique<TQtCanvasFont>(description);
    }
    return *slot;
}
