#include "os/OS_Backend.h"

#include <gtest/gtest.h>

// Every test program runs on the headless OS backend unless a test selects
// the real one itself.
int main(int argc, char** argv) {
    os::SelectBackend(os::Backend::Headless);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
