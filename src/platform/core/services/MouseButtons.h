#pragma once
// The mouse buttons as the platform's mouse events name them.

#include <cstdint>

enum TMouseButton : std::uint8_t { mbLeft, mbRight, mbMiddle };
