// Entry of every test program: the environment the suites expect, then GoogleTest.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    // Values already set by the caller win, so a run can point at other fixtures or a real display.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("HARBEK_FIXTURES", HARBEK_DEFAULT_FIXTURES, 0);
    setenv("HARBEK_SOURCE", HARBEK_SOURCE_DIR, 0);
    setenv("HARBEK_BINARY", HARBEK_BINARY_DIR, 0);
    testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
