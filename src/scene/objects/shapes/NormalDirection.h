#pragma once
// Which way the normals of a closed object point: out of it (the default) or into it,
// for objects seen from inside.

#include <cstdint>

enum TNormalDirection : std::uint8_t { ndInside, ndOutside };
