#pragma once
// The entries of the variables list: "&name = value" for each name=value line of the
// evaluator's variables text.

#include <string>
#include <string_view>
#include <vector>

std::vector<std::string> VariablesListEntries(std::string_view variablesText);
