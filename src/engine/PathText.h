#pragma once
// The path text of a test result: "x,y,z" with five decimals each (half up, "."),
// written without allocating, since a long run has millions of nodes.

#include <string>

// Appends what TEngineData::PointToText gives.
void AppendPointText(std::string& text, float x, float y, float z);
