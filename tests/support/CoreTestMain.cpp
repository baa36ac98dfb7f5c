#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

// Every test runs with a scratch folder as its current directory, never in the source tree.
int main(int argc, char** argv) {
    TestSupport::SetEnvironment(ZEMBROLA_TEST_ENVIRONMENT);
    testing::InitGoogleTest(&argc, argv);
    TestSupport::tScratch scratch;
    return RUN_ALL_TESTS();
}
