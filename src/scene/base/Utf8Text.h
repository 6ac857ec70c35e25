#pragma once
// The binary stream's names for its string conversions (tag-20 values, 3D text): UTF-8
// bytes to UTF-16 units and back, by the platform's one codec and its rule for invalid
// bytes (platform/core/text/Utf8.h): one U+FFFD per damaged character, and U+FFFD for an
// unpaired surrogate.

#include "platform/core/text/Utf8.h"

#include <string>
#include <string_view>

inline std::u16string UTF8ToWide(std::string_view bytes) { return Utf8ToUtf16(bytes); }
inline std::string WideToUTF8(std::u16string_view units) { return Utf16ToUtf8(units); }
