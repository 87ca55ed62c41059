// Ctrl+C during a simulation: the first asks the run to stop, the second ends the process.

#include "cli/InterruptRequest.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>

TEST(InterruptRequestDeathTest, TheSecondCtrlCEndsTheProcessAtOnce)
{
    EXPECT_EXIT(
        {
            const InterruptRequest interrupt;
            std::raise(SIGINT);
            if (!interrupt.requested())
                std::_Exit(1);
            std::raise(SIGINT);
            std::_Exit(2); // reached only when the second signal was ignored
        },
        ::testing::ExitedWithCode(130), "");
}
