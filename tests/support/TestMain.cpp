// Entry of every test program: the environment the suites expect, then GoogleTest.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include <unistd.h>

int main(int argc, char** argv) {
    // Values already set by the caller win, so a run can point at other fixtures or a real display.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("HARBEK_FIXTURES", HARBEK_DEFAULT_FIXTURES, 0);
    setenv("HARBEK_SOURCE", HARBEK_SOURCE_DIR, 0);
    setenv("HARBEK_BINARY", HARBEK_BINARY_DIR, 0);
    // make test has the short tests give way to the long ones, which mostly wait on real time and so
    // end the run late when a busy machine answers them late.
    if (const char* nice = std::getenv("HARBEK_SHORT_TEST_NICE"); nice && !std::getenv("HARBEK_TEST_LONG")) {
        // A refusal leaves the priority as it was.
        [[maybe_unused]] const int priority = ::nice(std::atoi(nice));
    }
    testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
