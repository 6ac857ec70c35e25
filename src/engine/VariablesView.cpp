#include "engine/VariablesView.h"

std::vector<std::string> VariablesListEntries(std::string_view variablesText)
{
    std::vector<std::string> entries;
    std::size_t from = 0;
    while (from < variablesText.size()) {
        std::size_t end = variablesText.find_first_of("\r\n", from);
        if (end == std::string_view::npos) {
            end = variablesText.size();
        }
        const std::string_view line = variablesText.substr(from, end - from);
        std::string entry = "&";
        for (char c : line) {
            if (c == '=') {
                entry += " = ";
            } else {
                entry += c;
            }
        }
        entries.push_back(std::move(entry));
        from = end;
        if (from < variablesText.size() && variablesText[from] == '\r') {
            ++from;
        }
        if (from < variablesText.size() && variablesText[from] == '\n') {
            ++from;
        }
    }
    return entries;
}
