#pragma once
// How a selection is shaped: a stream of characters, whole lines, or a column block.

#include <cstdint>

enum TCodeSelectionMode : std::uint8_t { smNormal = 0, smLine = 1, smColumn = 2 };
