// The guard of the tests that must not wait on a named pipe: it ends every wait on the
// pipe, not only the first, so a refusal that fails twice still fails its test in seconds.
#include "../../support/FifoWatchdog.h"
#include "../../support/TempFolderTest.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

namespace {

class FifoWatchdog : public testsupport::TTempFolderTest {};

TEST_F(FifoWatchdog, EndsEveryWaitOnThePipe)
{
    struct TCase {
        const char* Name;
        int Flags;
        bool Reads;
    };
    const TCase cases[] = {
        {"opened to read, then read to its end", O_RDONLY, true},
        {"opened to write", O_WRONLY, false},
    };
    // Should a later wait be left waiting, the binary ends instead of hanging.
    const testsupport::THangGuard guard("a later wait on a watched pipe");
    for (const TCase& c : cases) {
        const std::string pipe = Path(std::string("pipe") + std::to_string(c.Flags));
        const testsupport::TFifoWatchdog watchdog(pipe, std::chrono::milliseconds(50));
        ASSERT_TRUE(watchdog.Made());
        for (int wait = 0; wait < 3; ++wait) {
            const int fd = ::open(pipe.c_str(), c.Flags | O_CLOEXEC);
            ASSERT_GE(fd, 0) << c.Name << ", wait " << wait;
            if (c.Reads) {
                char buffer[64];
                ssize_t got = 0;
                while ((got = ::read(fd, buffer, sizeof buffer)) > 0) {
                }
                EXPECT_EQ(got, 0) << c.Name;
            }
            ::close(fd);
        }
        EXPECT_TRUE(watchdog.Fired()) << c.Name;
    }
}

} // namespace
