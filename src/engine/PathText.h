#pragma once
// The path text of a test result: "x,y,z" with five decimals each (half up, "."),
// written without allocating, since a long run has millions of nodes. A value with
// more than 15 digits before the point takes the scientific form of 15 significant
// digits.

#include <cstddef>
#include <string>

// Appends what TEngineData::PointToText gives.
void AppendPointText(std::string& text, float x, float y, float z);
// The same and CR LF: one node line of a path text.
void AppendPointLine(std::string& text, float x, float y, float z);
// How many bytes AppendPointLine appends for the point, found without writing it.
std::size_t PointLineLength(float x, float y, float z);
