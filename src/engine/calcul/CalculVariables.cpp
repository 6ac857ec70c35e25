#include "engine/calcul/CalculVariables.h"

#include "platform/core/Exceptions.h"
#include "platform/core/StringUtils.h"

#include <utility>

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
    FLines[static_cast<std::size_t>(index)] = std::move(line);
}

int TCalculVariables::Add(std::string line)
{
    FLines.push_back(std::move(line));
    return Count() - 1;
}

void TCalculVariables::Insert(int index, std::string line)
{
    if (index < 0 || index > Count()) {
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    }
    FLines.insert(FLines.begin() + index, std::move(line));
}

void TCalculVariables::Delete(int index)
{
    CheckIndex(index);
    FLines.erase(FLines.begin() + index);
}

int TCalculVariables::IndexOfName(std::string_view name) const
{
    const std::size_t n = name.size();
    if (name.find('=') != std::string_view::npos) {
        return -1; // a name never holds "=": the text before the first one is shorter
    }
    for (std::size_t i = 0; i < FLines.size(); ++i) {
        const std::string& line = FLines[i];
        if (line.size() > n && line[n] == '=' && SameText(std::string_view(line).substr(0, n), name)) {
            return static_cast<int>(i);
        }
        if (line.size() == n && line.find('=') == std::string::npos && SameText(line, name)) {
            return static_cast<int>(i); // a line without "=" is all name
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
        FLines[static_cast<std::size_t>(i)] = std::move(line);
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
    FLines.clear();
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t j = i;
        while (j < text.size() && text[j] != '\r' && text[j] != '\n') {
            ++j;
        }
        FLines.emplace_back(text.substr(i, j - i));
        if (j < text.size() && text[j] == '\r' && j + 1 < text.size() && text[j + 1] == '\n') {
            ++j;
        }
        i = j + 1;
    }
}
