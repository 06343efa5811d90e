#include "app_fixture.h"

#include <QMenuBar>
#include <QTabWidget>

namespace kelmor::test {
namespace {

class MainWindowTest : public AppFixture {};

TEST_F(MainWindowTest, StartsOnProjectsTabWithItsCaption) {
    start();
    EXPECT_EQ(app->mainWindow().windowTitle(), QStringLiteral(" Kelmor"));
    auto* tabs = find<QTabWidget>("PageControl1");
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->count(), 4);
    EXPECT_EQ(tabs->tabPosition(), QTabWidget::South);
}

} // namespace
} // namespace kelmor::test
