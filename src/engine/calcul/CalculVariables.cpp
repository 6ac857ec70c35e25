#include "engine/calcul/CalculVariables.h"

#include "platform/core/Exceptions.h"
#include "platform/core/StringUtils.h"

#include <algorithm>
#include <utility>

std::uint32_t TCalculVariables::NameKey(std::string_view name)
{
    const std::size_t length = std::min<std::size_t>(name.size(), 0xFFFFFF);
    const unsigned char first = name.empty() ? 0 : static_cast<unsigned char>(LowCaseChar(name[0]));
    return static_cast<std::uint32_t>(length << 8) | first;
}

std::uint32_t TCalculVariables::LineKey(std::string_view line)
{
    return NameKey(line.substr(0, line.find('=')));
}

void TCalculVariables::CheckIndex(int index) const
{
    if (index < 0 || index >= Count()) {
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    }
}

const std::string& TCalculVariables::Strings(int index) const
{
    CheckIndex(index);
    return FLines[static_cast<std::size_t>(index)];
}

void TCalculVariables::SetStrings(int index, std::string line)
{
    CheckIndex(index);
    FKeys[static_cast<std::size_t>(index)] = LineKey(line);
    FLines[static_cast<std::size_t>(index)] = std::move(line);
}

int TCalculVariables::Add(std::string line)
{
    FKeys.push_back(LineKey(line));
    FLines.push_back(std::move(line));
    return Count() - 1;
}

void TCalculVariables::Insert(int index, std::string line)
{
    if (index < 0 || index > Count()) {
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    }
    FKeys.insert(FKeys.begin() + index, LineKey(line));
    FLines.insert(FLines.begin() + index, std::move(line));
}

void TCalculVariables::Delete(int index)
{
    CheckIndex(index);
    FKeys.erase(FKeys.begin() + index);
    FLines.erase(FLines.begin() + index);
}

int TCalculVariables::IndexOfName(std::string_view name) const
{
    const std::size_t n = name.size();
    if (name.find('=') != std::string_view::npos) {
        return -1; // a name never holds "=": the text before the first one is shorter
    }
    const std::uint32_t key = NameKey(name);
    for (std::size_t i = 0; i < FKeys.size(); ++i) {
        if (FKeys[i] != key) {
            continue;
        }
        const std::string& line = FLines[i];
        // Same length and first letter: the line's name is its first n characters.
        if (line.size() >= n && (line.size() == n || line[n] == '=') &&
            SameText(std::string_view(line).substr(0, n), name)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::string_view TCalculVariables::Names(int index) const
{
    std::string_view line = Strings(index);
    return line.substr(0, line.find('='));
}

std::string_view TCalculVariables::ValueFromIndex(int index) const
{
    std::string_view line = Strings(index);
    const auto eq = line.find('=');
    return eq == std::string_view::npos ? std::string_view() : line.substr(eq + 1);
}

std::string TCalculVariables::Values(std::string_view name) const
{
    const int i = IndexOfName(name);
    return i < 0 ? std::string() : std::string(ValueFromIndex(i));
}

void TCalculVariables::SetValue(std::string_view name, std::string_view value)
{
    std::string line;
    line.reserve(name.size() + 1 + value.size());
    line.append(name).append("=").append(value);
    const int i = IndexOfName(name);
    if (i < 0) {
        Add(std::move(line));
    } else {
        SetStrings(i, std::move(line));
    }
}

std::string TCalculVariables::Text() const
{
    std::string out;
    for (const std::string& line : FLines) {
        out += line;
        out += "\r\n";
    }
    return out;
}

void TCalculVariables::SetText(std::string_view text)
{
    Clear();
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t j = i;
        while (j < text.size() && text[j] != '\r' && text[j] != '\n') {
            ++j;
        }
        Add(std::string(text.substr(i, j - i)));
        if (j < text.size() && text[j] == '\r' && j + 1 < text.size() && text[j + 1] == '\n') {
            ++j;
        }
        i = j + 1;
    }
}
