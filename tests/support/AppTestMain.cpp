#include "tests/support/AppTestSupport.h"

// Widget tests: a headless application object in a scratch folder holding the installation
// data, with the recorder in place of every dialog and sound.
int main(int argc, char** argv) {
    TestSupport::SetEnvironment(ZEMBROLA_TEST_ENVIRONMENT);
    testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) // CTest asking for the cases: no display, no application
        return RUN_ALL_TESTS();
    TestSupport::tScratch scratch(TestSupport::tScratch::tContent::InstallationData);
    tApp application(argc, argv);
    TestSupport::InstallRecorder();
    return RUN_ALL_TESTS();
}
