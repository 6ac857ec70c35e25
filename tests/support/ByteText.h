#pragma once
// Expected stream contents written as byte values: Bytes({0x06, 'A', 0x01}).

#include <initializer_list>
#include <string>

inline std::string Bytes(std::initializer_list<int> values)
{
    std::string out;
    for (int v : values) {
        out.push_back(static_cast<char>(v));
    }
    return out;
}
