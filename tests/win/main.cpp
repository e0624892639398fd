#include <gtest/gtest.h>

#include <cstring>

#include "tests/win/child_scenarios.h"

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--child=", 8) == 0) return wintest::RunChildScenario(argv[i] + 8);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
