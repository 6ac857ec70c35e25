#include "engine/calcul/CalculWrapArgs.h"

#include <array>

namespace calc {

bool WrapFunctionArgs(std::string_view text, std::string& out)
{
    if (text.find(',') == std::string_view::npos) {
        out.assign(text);
        return true;
    }
    // Written out as the text is read, so a call of many arguments costs its length,
    // not its length times its argument count.
    out.clear();
    out.reserve(text.size() + text.size() / 2 + 8);
    // balance[level] counts the parentheses opened inside the current argument of the
    // call open at that level.
    std::array<int, kMaxCallNesting + 1> balance{};
    int level = 0;
    bool inString = false;
    for (const char c : text) {
        if (c == '"') {
            inString = !inString;
        }
        if (inString || c == '"') {
            out += c;
            continue;
        }
        if (c == ',') {
            if (level > 0 && balance[static_cast<std::size_t>(level)] == 0) {
                // A further argument of the innermost open call: close the previous one.
                out += ')';
                --level;
            } else {
                // The first comma of a call: close the first argument and open it where
                // the call's own "(" stands.
                const std::size_t comma = out.size();
                out += ')';
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
            out += ",(";
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
            } else if (c == ')' && --balance[static_cast<std::size_t>(level)] < 0) {
                // The ")" that closes the call also closes its last argument.
                --level;
                out += ')';
            }
        }
        out += c;
    }
    return true;
}

} // namespace calc
