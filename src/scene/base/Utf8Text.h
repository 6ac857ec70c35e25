#pragma once
// Conversions for the string values of the binary stream: UTF-8 bytes to UTF-16 units
// and UTF-16 units to our UTF-8 strings.

#include <string>
#include <string_view>

// Decodes without validating continuation bytes; sequences of up to six bytes are
// accepted and values beyond U+10FFFF become U+FFFD. A sequence cut off by the end of
// the input uses the bytes that are there.
std::u16string UTF8ToWide(std::string_view bytes);

// Encodes UTF-16 as UTF-8; an unpaired surrogate becomes U+FFFD.
std::string WideToUTF8(std::u16string_view units);
