#include "platform/core/Assert.h"

#include <cstring>
#include <string>

namespace kerfpad_detail {

void FailAssertion(const char* message, const char* file, int line)
{
    const char* slash = std::strrchr(file, '/');
    const char* unit = slash ? slash + 1 : file;
    throw EAssertionFailed(std::string(message) + " (" + unit + ", line " + std::to_string(line) + ")");
}

} // namespace kerfpad_detail
