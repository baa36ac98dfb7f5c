#include "tests/support/AppTestSupport.h"

// Widget tests: a headless application object in a scratch folder holding the installation
// data, with the recorder in place of every dialog and sound.
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    TestSupport::tScratch scratch(TestSupport::tScratch::tContent::InstallationData);
    tApp application(argc, argv);
    TestSupport::InstallRecorder();
    return RUN_ALL_TESTS();
}
