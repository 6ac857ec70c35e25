#include "platform/core/files/IniFile.h"

#include "platform/core/files/AtomicFileStream.h"
#include "platform/core/text/NumberFormat.h"
#include "platform/core/files/RegularFile.h"
#include "platform/core/files/Stream.h"
#include "platform/core/text/StringUtils.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";

// The whole file, or an error text; a missing file (also one below a path part that is
// no folder) is empty and no error.
std::string ReadWholeFile(const std::string& fileName, std::string& error)
{
    std::string bytes;
    TOpenedFile opened = OpenRegularFile(fileName, TFileAccess::Read);
    if (!opened.IsOpen()) {
        if (!opened.Missing())
            error = opened.Message(fileName);
        return bytes;
    }
    if (const int failure = opened.File.ReadToEnd(bytes); failure != 0)
        error = ReadErrorMessage(fileName, failure);
    return bytes;
}

bool IsHexText(std::string_view text)
{
    const std::size_t digits = text.find_first_not_of(" \t+-");
    if (digits == std::string_view::npos)
        return false;
    text.remove_prefix(digits);
    return text[0] == '$' || (text.size() > 1 && text[0] == '0' && (text[1] | 0x20) == 'x');
}

} // namespace

TIniFile::TIniFile(std::string fileName) : FFileName(std::move(fileName))
{
    Parse(ReadWholeFile(FFileName, FReadError));
}

TIniFile::TLine TIniFile::MakeLine(std::string text, std::string lineBreak)
{
    TLine line;
    line.Break = std::move(lineBreak);
    const std::string trimmed = Trim(text);
    if (!trimmed.empty() && trimmed[0] == '[') {
        line.Kind = TKind::Section;
        line.Name = Trim(std::string_view(trimmed).substr(1, trimmed.find(']') - 1));
    } else if (!trimmed.empty() && trimmed[0] != ';' && trimmed[0] != '#') {
        const std::size_t eq = text.find('=');
        if (eq != std::string::npos) {
            std::string name = Trim(std::string_view(text).substr(0, eq));
            if (!name.empty()) {
                line.Kind = TKind::Key;
                line.Name = std::move(name);
                line.Value = Trim(std::string_view(text).substr(eq + 1));
            }
        }
    }
    line.Text = std::move(text);
    return line;
}

void TIniFile::Parse(std::string_view bytes)
{
    if (bytes.substr(0, Utf8Bom.size()) == Utf8Bom) {
        FBom = Utf8Bom;
        bytes.remove_prefix(Utf8Bom.size());
    }
    bool styleKnown = false;
    while (!bytes.empty()) {
        const std::size_t nl = bytes.find('\n');
        std::string_view text = bytes.substr(0, nl);
        std::string lineBreak;
        if (nl != std::string_view::npos) {
            const bool crlf = !text.empty() && text.back() == '\r';
            if (crlf)
                text.remove_suffix(1);
            lineBreak = crlf ? "\r\n" : "\n";
            if (!styleKnown) {
                FBreak = lineBreak;
                styleKnown = true;
            }
            bytes.remove_prefix(nl + 1);
        } else {
            bytes = {};
        }
        FLines.push_back(MakeLine(std::string(text), std::move(lineBreak)));
    }
}

template <class F>
void TIniFile::ForEachLineIn(std::string_view section, F&& f) const
{
    bool inside = false;
    for (std::size_t i = 0; i < FLines.size(); ++i) {
        const TLine& line = FLines[i];
        if (line.Kind == TKind::Section)
            inside = SameText(line.Name, section);
        else if (inside)
            f(i);
    }
}

int TIniFile::FindKey(std::string_view section, std::string_view key) const
{
    int found = -1;
    ForEachLineIn(section, [&](std::size_t i) {
        if (found < 0 && FLines[i].Kind == TKind::Key && SameText(FLines[i].Name, key))
            found = static_cast<int>(i);
    });
    return found;
}

bool TIniFile::SectionExists(std::string_view section) const
{
    for (const TLine& line : FLines)
        if (line.Kind == TKind::Section && SameText(line.Name, section))
            return true;
    return false;
}

bool TIniFile::ValueExists(std::string_view section, std::string_view key) const
{
    return FindKey(section, key) >= 0;
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key, std::string_view fallback) const
{
    const int i = FindKey(section, key);
    return i < 0 ? std::string(fallback) : FLines[static_cast<std::size_t>(i)].Value;
}

int TIniFile::ReadInteger(std::string_view section, std::string_view key, int fallback) const
{
    const int i = FindKey(section, key);
    if (i < 0)
        return fallback;
    const std::string& text = FLines[static_cast<std::size_t>(i)].Value;
    std::int64_t value = 0;
    if (!TryStrToInt64(text, value))
        return fallback;
    if (value >= INT32_MIN && value <= INT32_MAX)
        return static_cast<int>(value);
    if (value > INT32_MAX && value <= UINT32_MAX && IsHexText(text))
        return static_cast<int>(static_cast<std::uint32_t>(value));
    return fallback;
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool fallback) const
{
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

double TIniFile::ReadFloat(std::string_view section, std::string_view key, double fallback) const
{
    const int i = FindKey(section, key);
    return i < 0 ? fallback : StrToFloatDef(FLines[static_cast<std::size_t>(i)].Value, fallback);
}

void TIniFile::Append(TLine line)
{
    if (!FLines.empty() && FLines.back().Break.empty())
        FLines.back().Break = FBreak;
    line.Break = FBreak;
    FLines.push_back(std::move(line));
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value)
{
    std::string oneLine(value);
    for (char& c : oneLine)
        if (c == '\r' || c == '\n')
            c = ' ';
    const int existing = FindKey(section, key);
    if (existing >= 0) {
        // The key keeps the spelling it had in the file.
        TLine& old = FLines[static_cast<std::size_t>(existing)];
        old = MakeLine(old.Name + "=" + oneLine, old.Break);
        return;
    }
    TLine line = MakeLine(std::string(key) + "=" + oneLine, {});
    // A new key goes after the last non-blank line of the section's first occurrence.
    int after = -1;
    for (std::size_t i = 0; i < FLines.size(); ++i) {
        if (FLines[i].Kind != TKind::Section || !SameText(FLines[i].Name, section))
            continue;
        after = static_cast<int>(i);
        for (std::size_t j = i + 1; j < FLines.size() && FLines[j].Kind != TKind::Section; ++j)
            if (!Trim(FLines[j].Text).empty())
                after = static_cast<int>(j);
        break;
    }
    if (after < 0) {
        AddSection(section);
        Append(std::move(line));
        return;
    }
    TLine& previous = FLines[static_cast<std::size_t>(after)];
    if (previous.Break.empty())
        previous.Break = FBreak;
    line.Break = FBreak;
    FLines.insert(FLines.begin() + after + 1, std::move(line));
}

void TIniFile::AddSection(std::string_view section)
{
    if (SectionExists(section))
        return;
    // New sections are set apart by a blank line, as people write them.
    if (!FLines.empty() && !Trim(FLines.back().Text).empty())
        Append(MakeLine({}, {}));
    Append(MakeLine("[" + std::string(section) + "]", {}));
}

void TIniFile::WriteInteger(std::string_view section, std::string_view key, int value)
{
    WriteString(section, key, IntToStr(value));
}

void TIniFile::WriteBool(std::string_view section, std::string_view key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}

void TIniFile::WriteFloat(std::string_view section, std::string_view key, double value)
{
    WriteString(section, key, FloatToStr(value));
}

std::vector<std::string> TIniFile::ReadSection(std::string_view section) const
{
    std::vector<std::string> keys;
    ForEachLineIn(section, [&](std::size_t i) {
        if (FLines[i].Kind != TKind::Key)
            return;
        for (const auto& key : keys)
            if (SameText(key, FLines[i].Name))
                return;
        keys.push_back(FLines[i].Name);
    });
    return keys;
}

std::vector<std::string> TIniFile::ReadSections() const
{
    std::vector<std::string> sections;
    for (const TLine& line : FLines) {
        if (line.Kind != TKind::Section)
            continue;
        bool known = false;
        for (const auto& name : sections)
            known = known || SameText(name, line.Name);
        if (!known)
            sections.push_back(line.Name);
    }
    return sections;
}

std::vector<std::string> TIniFile::ReadSectionValues(std::string_view section) const
{
    std::vector<std::string> values;
    for (const auto& key : ReadSection(section))
        values.push_back(key + "=" + ReadString(section, key, {}));
    return values;
}

void TIniFile::EraseSection(std::string_view section)
{
    std::vector<TLine> kept;
    kept.reserve(FLines.size());
    bool inside = false;
    for (TLine& line : FLines) {
        if (line.Kind == TKind::Section)
            inside = SameText(line.Name, section);
        if (!inside)
            kept.push_back(std::move(line));
    }
    FLines = std::move(kept);
}

void TIniFile::DeleteKey(std::string_view section, std::string_view key)
{
    std::vector<std::size_t> doomed;
    ForEachLineIn(section, [&](std::size_t i) {
        if (FLines[i].Kind == TKind::Key && SameText(FLines[i].Name, key))
            doomed.push_back(i);
    });
    for (auto it = doomed.rbegin(); it != doomed.rend(); ++it) {
        // The last line of a file may have had no break; its new last line then has none.
        const bool wasLast = *it + 1 == FLines.size();
        const std::string lineBreak = FLines[*it].Break;
        FLines.erase(FLines.begin() + static_cast<std::ptrdiff_t>(*it));
        if (wasLast && !FLines.empty())
            FLines.back().Break = lineBreak.empty() ? std::string() : FLines.back().Break;
    }
}

std::string TIniFile::Text() const
{
    std::string text = FBom;
    for (const TLine& line : FLines) {
        text += line.Text;
        text += line.Break;
    }
    return text;
}

void TIniFile::UpdateFile()
{
    if (!FReadError.empty())
        throw EFCreateError("Cannot save file \"" + FFileName + "\", which could not be read. " + FReadError);
    const std::string text = Text();
    TAtomicFileStream file(FFileName);
    file.WriteBuffer(text.data(), static_cast<std::int64_t>(text.size()));
    file.Commit();
}
