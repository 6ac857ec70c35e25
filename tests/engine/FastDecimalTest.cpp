#include "engine/FastDecimal.h"

#include "platform/core/text/NumberFormat.h"

#include <gtest/gtest.h>

#include <cstring>

// Whatever the quick reader takes, the full parser takes too, with the same bits.
TEST(FastDecimal, AgreesWithTheFullParser)
{
    const char* texts[] = {"0",     "-0",   "12.5",  "-0.125", ".5",   "-.5",  "007",  "0.1",
                           "0.3",   "2.675", "96.4999", "123456789012345", "1234567890123456",
                           "0.000000000000001", "1.7976931348623157", "5.",  ".",    "-",   "",
                           "1e5",   " 1",   "1,5",   "+1",     "1..2", "9007199254740993"};
    for (const char* t : texts) {
        double quick = 0;
        if (!TryPlainDecimal(t, quick)) {
            continue;
        }
        double full = 0;
        ASSERT_TRUE(TryStrToFloat(t, full)) << t;
        EXPECT_EQ(std::memcmp(&quick, &full, sizeof full), 0) << t << " " << quick << " " << full;
    }
    double v = 0;
    for (const char* rejected : {"5.", ".", "-", "", "1e5", " 1", "+1", "1234567890123456"}) {
        EXPECT_FALSE(TryPlainDecimal(rejected, v)) << rejected;
    }
}
