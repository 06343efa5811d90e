#include "prefs/session_preference.h"
#include "support/temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace kelmor {
namespace {

class SessionPreferenceTest : public test::TempFolderTest,
                              public ::testing::WithParamInterface<const char*> {
protected:
    std::string configDir() const { return path("config"); }
    void writeIni(const std::string& bytes) const {
        std::filesystem::create_directories(configDir());
        writeFile("config/KelmorPref.ini", bytes);
    }
};

// A place that is not four integers with a positive size is no place: the window keeps the
// frame of a first start.
TEST_P(SessionPreferenceTest, AMalformedGeometryGivesNoPlace) {
    writeIni(std::string("[PREFERENCES]\r\nWindow Geometry=") + GetParam() + "\r\n");
    EXPECT_EQ(loadWindowPlace(configDir()), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(Geometries, SessionPreferenceTest,
                         ::testing::Values("", "1,2,3", "1,2,3,4,5", "a,2,3,4", "1,2,0,4",
                                           "1,2,3,-4", "1,,3,4", "99999999999,2,3,4"));

TEST_F(SessionPreferenceTest, PlaceAndRecentProjectsComeBackAsWritten) {
    const WindowPlace place{-20, 0x10, 700, 480, true, "ProjectsSplitter:150,540"};
    saveWindowPlace(configDir(), place);
    EXPECT_EQ(loadWindowPlace(configDir()), place);

    std::vector<std::string> recent;
    for (int k = 0; k < 10; ++k)
        recent = withRecentProject(recent, "/p/" + std::to_string(k % 9) + ".kxq");
    recent = withRecentProject(recent, "/p/5.kxq");
    saveRecentProjects(configDir(), recent);
    EXPECT_EQ(loadRecentProjects(configDir()),
              (std::vector<std::string>{"/p/5.kxq", "/p/0.kxq", "/p/8.kxq", "/p/7.kxq", "/p/6.kxq",
                                        "/p/4.kxq", "/p/3.kxq", "/p/2.kxq"}));
}

} // namespace
} // namespace kelmor
