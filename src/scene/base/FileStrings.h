#pragma once
// Whole-file helpers for the image and texture code.

#include <cstdint>
#include <string>

// Creates (or truncates) the file and writes the bytes.
void SaveStringToFile(const std::string& fileName, const std::string& data);
// The whole file, or the empty string when it does not exist.
std::string LoadStringFromFile(const std::string& fileName);
// 0 when the file does not exist.
std::int64_t SizeOfFile(const std::string& fileName);
