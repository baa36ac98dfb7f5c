#include "tests/support/TestSupport.h"

#include <QApplication>
#include <gtest/gtest.h>

// Widget tests: a headless application, and a scratch folder as the current directory.
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    TestSupport::tScratch scratch(TestSupport::tScratch::tContent::InstallationData);
    return RUN_ALL_TESTS();
}
