// Attributes in the registry: our own form (a subkey per attribute with three integers)
// and the two forms in which other editors keep their colours.

#include "editor/highlighting/CodeHighlighterAttributes.h"
#include "platform/core/text/NumberFormat.h"
#include "platform/core/text/StringUtils.h"

#include <QStringList>

#include <array>
#include <optional>

namespace {

// The 16-colour palette that other editors' entries index.
constexpr std::array<TColor, 16> kPalette = {clBlack, clMaroon, clGreen, clOlive, clNavy,    clPurple,
                                             clTeal,  clSilver, clGray,  clRed,   clLime,    clYellow,
                                             clBlue,  clFuchsia, clAqua, clWhite};

// Reopens the key that was current when it was made.
class TKeyKeeper {
public:
    explicit TKeyKeeper(TRegistry& registry)
        : registry_(registry), hadKey_(registry.HasCurrentKey()), path_(registry.CurrentPath())
    {
    }
    ~TKeyKeeper()
    {
        if (hadKey_) {
            registry_.OpenKey("\\" + path_, false);
        } else {
            registry_.CloseKey();
        }
    }
    TKeyKeeper(const TKeyKeeper&) = delete;
    TKeyKeeper& operator=(const TKeyKeeper&) = delete;

private:
    TRegistry& registry_;
    bool hadKey_;
    std::string path_;
};

struct TForeignEntry {
    TFontStyles style = 0;
    bool defaultForeground = false;
    bool defaultBackground = false;
    int foreground = 0;
    int background = 0;
};

std::optional<int> ParseIndex(const std::string& text)
{
    int value = 0;
    if (!TryStrToInt(text, value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<TForeignEntry> ReadPacked(TRegistry& registry, const std::string& name)
{
    const QStringList fields = QString::fromStdString(registry.ReadString(name)).split(QLatin1Char(','));
    if (fields.size() != 7) {
        return std::nullopt;
    }
    TForeignEntry entry;
    const QString& letters = fields[2];
    if (letters.contains(QLatin1Char('B'))) {
        entry.style |= TFont::fsBold;
    }
    if (letters.contains(QLatin1Char('I'))) {
        entry.style |= TFont::fsItalic;
    }
    if (letters.contains(QLatin1Char('U'))) {
        entry.style |= TFont::fsUnderline;
    }
    entry.defaultForeground = fields[3] == QLatin1String("1");
    entry.defaultBackground = fields[4] == QLatin1String("1");
    const auto foreground = ParseIndex(fields[5].toStdString());
    const auto background = ParseIndex(fields[6].toStdString());
    if (!foreground || !background) {
        return std::nullopt;
    }
    entry.foreground = *foreground;
    entry.background = *background;
    return entry;
}

// A flag string is true unless it reads "FALSE" (any case) or "0".
bool FlagValue(const TRegistry& registry, const std::string& name)
{
    const std::string text = registry.ReadString(name);
    return !SameText(text, "FALSE") && text != "0";
}

TForeignEntry ReadSplit(const TRegistry& registry)
{
    TForeignEntry entry;
    entry.foreground = registry.ReadInteger("Foreground Color");
    entry.background = registry.ReadInteger("Background Color");
    if (FlagValue(registry, "Bold")) {
        entry.style |= TFont::fsBold;
    }
    if (FlagValue(registry, "Italic")) {
        entry.style |= TFont::fsItalic;
    }
    if (FlagValue(registry, "Underline")) {
        entry.style |= TFont::fsUnderline;
    }
    entry.defaultForeground = FlagValue(registry, "Default Foreground");
    entry.defaultBackground = FlagValue(registry, "Default Background");
    return entry;
}

std::optional<TColor> EntryColor(bool isDefault, TColor defaultColor, int index)
{
    if (isDefault) {
        return defaultColor;
    }
    if (index < 0 || index >= static_cast<int>(kPalette.size())) {
        return std::nullopt;
    }
    return kPalette[static_cast<std::size_t>(index)];
}

} // namespace

bool TCodeHighlighterAttributes::SaveToRegistry(TRegistry& registry) const
{
    TKeyKeeper keeper(registry);
    if (!registry.OpenKey(name_.toStdString(), true)) {
        return false;
    }
    try {
        registry.WriteInteger("Background", background_);
        registry.WriteInteger("Foreground", foreground_);
        registry.WriteInteger("Style", style_);
    } catch (const ERegistryException&) {
        return false;
    }
    return true;
}

bool TCodeHighlighterAttributes::LoadFromRegistry(TRegistry& registry)
{
    TKeyKeeper keeper(registry);
    if (!registry.OpenKey(name_.toStdString(), false)) {
        return false;
    }
    try {
        if (registry.ValueExists("Background")) {
            SetBackground(registry.ReadInteger("Background"));
        }
        if (registry.ValueExists("Foreground")) {
            SetForeground(registry.ReadInteger("Foreground"));
        }
        if (registry.ValueExists("Style")) {
            const int bits = registry.ReadInteger("Style");
            TFontStyles style = 0;
            for (TFontStyles bit : {TFont::fsBold, TFont::fsItalic, TFont::fsUnderline, TFont::fsStrikeOut}) {
                if (bits & bit) {
                    style |= bit;
                }
            }
            SetStyle(style);
        }
    } catch (const ERegistryException&) {
        return false;
    }
    return true;
}

// Packed form: a string value named after the attribute under the key, seven fields
// separated by commas: two unused, the style letters (B, I, U), "1" for the default
// foreground, "1" for the default background, the foreground and the background palette
// indexes. Split form: the subkey key\attribute with the integers "Foreground Color" and
// "Background Color" and the flag strings "Bold", "Italic", "Underline",
// "Default Foreground" and "Default Background"; all seven must be there.
bool TCodeHighlighterAttributes::LoadFromRegistryEntry(TRegistryRoot root, const std::string& key,
                                                       const QString& attributeName, bool packed)
{
    TRegistry registry;
    registry.SetRootKey(root);
    const std::string name = attributeName.toStdString();
    std::optional<TForeignEntry> entry;
    try {
        if (packed) {
            if (registry.OpenKeyReadOnly(key) && registry.ValueExists(name)) {
                entry = ReadPacked(registry, name);
            }
        } else if (registry.OpenKeyReadOnly(key + "\\" + name)) {
            entry = ReadSplit(registry);
        }
    } catch (const ERegistryException&) {
        return false;
    }
    if (!entry) {
        return false;
    }
    const auto foreground = EntryColor(entry->defaultForeground, clWindowText, entry->foreground);
    const auto background = EntryColor(entry->defaultBackground, clWindow, entry->background);
    if (!foreground || !background) {
        return false;
    }
    SetForeground(*foreground);
    SetBackground(*background);
    SetStyle(entry->style);
    return true;
}
