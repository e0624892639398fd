#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tests/win/child_scenarios.h"

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--child=", 8) == 0) return wintest::RunChildScenario(argv[i] + 8);
    testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    // The shell's state is one per process and is torn down by the program's
    // own exit sequence, which tests do not run: leave without destroying
    // globals that still hold windows and COM objects after the libraries
    // behind them have detached.
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(result);
}
