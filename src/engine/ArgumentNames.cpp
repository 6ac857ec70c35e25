#include "engine/ArgumentNames.h"

namespace {

struct TArgumentName {
    std::string_view Word;
    int First, Last;
    std::string_view Name;
};

// Arguments read as numbers that are not targets; only an error looks here.
constexpr TArgumentName Names[] = {
    {"MS", 1, 4, "speed"},          {"JS", 1, 4, "speed"},          {"VS", 1, 8, "speed"},
    {"MD", 1, 1, "distance"},       {"MD", 2, 2, "direction"},      {"MD", 3, 3, "depth"},
    {"VA", 1, 5, "offset"},         {"VC", 1, 1, "tool diameter"},  {"VC", 4, 4, "safe height"},
    {"VC", 6, 6, "pocket overlap"}, {"VL", 1, 11, "table limit"},   {"VU", 1, 4, "unit value"},
    {"VU", 5, 5, "arc step"},       {"VU", 9, 9, "unit value"},     {"FP", 2, 4, "scale"},
    {"FP", 6, 6, "offset mode"},    {"CA", 1, 1, "chord width"},    {"CA", 2, 2, "height"},
    {"CA", 6, 6, "plunge"},         {"CA", 8, 9, "proportion"},     {"CC", 1, 1, "diameter"},
    {"CC", 4, 4, "start angle"},    {"CC", 5, 5, "end angle"},      {"CC", 6, 6, "plunge"},
    {"CC", 8, 9, "proportion"},     {"CP", 1, 1, "diameter"},       {"CP", 2, 3, "centre offset"},
    {"CP", 6, 6, "start angle"},    {"CP", 7, 7, "end angle"},      {"CP", 8, 8, "plunge"},
    {"CP", 10, 11, "proportion"},   {"CG", 1, 1, "diameter"},       {"CG", 4, 5, "centre offset"},
    {"CG", 8, 8, "plunge"},         {"CG", 10, 11, "proportion"},   {"CR", 1, 1, "X length"},
    {"CR", 2, 2, "Y length"},       {"CR", 4, 4, "direction"},      {"CR", 5, 5, "start corner"},
    {"CR", 6, 6, "plunge"},
};

bool IsTarget(std::string_view word, int argument)
{
    if (word == "CG") {
        return argument == 2 || argument == 3;
    }
    return (word[0] == 'M' || word[0] == 'J') && word != "MS" && word != "JS" && word != "MD";
}

} // namespace

std::string_view ArgumentName(std::string_view word, int argument)
{
    for (const TArgumentName& n : Names) {
        if (n.Word == word && argument >= n.First && argument <= n.Last) {
            return n.Name;
        }
    }
    return !word.empty() && IsTarget(word, argument) ? std::string_view() : std::string_view("value");
}
