#include "ui/program_module.h"

#include <QApplication>
#include <gtest/gtest.h>

// Test programs that touch widgets share one QApplication, offscreen unless told otherwise.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    // The program's modules, built beside the program rather than beside the tests.
    kelmor::setModuleFolder(QStringLiteral(KELMOR_MODULE_FOLDER));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
