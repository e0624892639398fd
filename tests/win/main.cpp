#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tests/win/child_scenarios.h"

int main(int argc, char** argv) {
    const char* child = nullptr;
    const char* marker = "";
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--child=", 8) == 0) child = argv[i] + 8;
        if (std::strncmp(argv[i], "--marker=", 9) == 0) marker = argv[i] + 9;
    }
    if (child) return wintest::RunChildScenario(child, marker);
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
