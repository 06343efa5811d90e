// The designer's drawing when the drawing module is not installed: this test program has no
// module beside it and names no other folder, so drawing fails with a message naming the module,
// every time, and nothing is drawn.
#include "base/error.h"
#include "designer/button_drawing.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

namespace kelmor {
namespace {

TEST(MissingDrawingModule, DrawingFailsWithTheReason) {
    int argc = 1;
    char name[] = "designer_missing_module_test";
    char* argv[] = {name, nullptr};
    QCoreApplication application(argc, argv);
    const std::vector<std::string> texts{"Home"};
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            drawButtonMenu(ButtonStyle{}, texts, ButtonFormat::Png);
            ADD_FAILURE() << "drew without the module";
        } catch (const Error& error) {
            EXPECT_TRUE(std::string(error.what())
                            .starts_with("Buttons cannot be drawn: kelmor-drawing.so is not in "))
                << error.what();
        }
        EXPECT_THROW(drawSvg("<svg xmlns='http://www.w3.org/2000/svg' width='2' height='2'/>"),
                     Error);
    }
}

} // namespace
} // namespace kelmor
