#include "platform/core/text/StringUtils.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// UpperCase goes eight bytes at a time: every byte value, at every place in a word and
// in the tail after the last whole word, changes exactly as UpCaseChar changes it.
TEST(StringUtils, UpperCaseChangesOnlyAsciiLettersWhereverTheyStand)
{
    std::string all;
    for (int c = 0; c < 256; ++c) {
        all += static_cast<char>(c);
    }
    for (std::size_t shift = 0; shift < 9; ++shift) {
        const std::string text = std::string(shift, 'q') + all;
        std::string expected = text;
        for (char& c : expected) {
            c = UpCaseChar(c);
        }
        EXPECT_EQ(UpperCase(text), expected) << "shifted by " << shift;
    }
    EXPECT_EQ(UpperCase("abc\xC3\xA9z{`@"), "ABC\xC3\xA9Z{`@");
}

} // namespace
