#include "tests/support/TestSupport.h"

#include <QApplication>
#include <gtest/gtest.h>

// Widget tests: a headless application, and a scratch folder as the current directory.
int main(int argc, char** argv) {
    TestSupport::SetEnvironment(ZEMBROLA_TEST_ENVIRONMENT);
    testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) // CTest asking for the cases: no display, no application
        return RUN_ALL_TESTS();
    QApplication application(argc, argv);
    TestSupport::tScratch scratch(TestSupport::tScratch::tContent::InstallationData);
    return RUN_ALL_TESTS();
}
