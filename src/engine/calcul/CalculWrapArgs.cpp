#include "engine/calcul/CalculWrapArgs.h"

#include <array>

namespace calc {

bool WrapFunctionArgs(std::string_view text, std::string& out)
{
    out.assign(text);
    if (text.find(',') == std::string_view::npos) {
        return true;
    }
    // balance[level] counts the parentheses opened inside the current argument of the
    // call open at that level.
    std::array<int, kMaxCallNesting + 1> balance{};
    int level = 0;
    bool inString = false;
    std::size_t i = 0;
    while (i < out.size()) {
        const char c = out[i];
        if (c == '"') {
            inString = !inString;
            ++i;
            continue;
        }
        if (inString) {
            ++i;
            continue;
        }
        if (c == ',') {
            if (level > 0 && balance[static_cast<std::size_t>(level)] == 0) {
                // A further argument of the innermost open call: close the previous one.
                out.insert(i, 1, ')');
                ++i;
                --level;
            } else {
                // The first comma of a call: close the first argument and open it where
                // the call's own "(" stands.
                const std::size_t comma = i;
                out.insert(i, 1, ')');
                ++i;
                int depth = 0;
                bool found = false;
                for (std::size_t j = comma; j-- > 0;) {
                    if (out[j] == ')') {
                        --depth;
                    } else if (out[j] == '(') {
                        ++depth;
                    }
                    if (depth > 0) {
                        out.insert(j, 1, '(');
                        ++i;
                        found = true;
                        break;
                    }
                }
                // A call that opens inside an argument of the enclosing call: its "("
                // was counted in that argument's balance, but the ")" that ends it is
                // taken by the close below, so it must not be waited for.
                if (found && level > 0) {
                    --balance[static_cast<std::size_t>(level)];
                }
            }
            // Open the next argument behind the comma.
            ++i;
            out.insert(i, 1, '(');
            ++i;
            if (level + 1 > kMaxCallNesting) {
                return false;
            }
            ++level;
            balance[static_cast<std::size_t>(level)] = 0;
            continue;
        }
        if (level > 0) {
            if (c == '(') {
                ++balance[static_cast<std::size_t>(level)];
            } else if (c == ')') {
                if (--balance[static_cast<std::size_t>(level)] < 0) {
                    --level;
                    out.insert(i, 1, ')');
                    ++i; // now at the ")" that closed the call; the step below passes it
                }
            }
        }
        ++i;
    }
    return true;
}

} // namespace calc
