// kelmor-cli button, run as the built program: bad input refused with nothing written, and a
// menu made into a project that kelmor-cli page then builds.
#include "base/read_file.h"
#include "generator/page_writer.h"
#include "imaging/picture.h"
#include "imaging/png.h"
#include "imaging/tool_pictures.h"
#include "support/temp_folder.h"

#include <algorithm>
#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/wait.h>

namespace kelmor {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

struct CliRun {
    int status;
    std::string out, err;
};

class CliButton : public test::TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        fs::create_directory(path("out"));
    }
    // Runs kelmor-cli from a shell that runs `setup` first.
    CliRun run(const std::string& command, const std::vector<std::string>& args,
               const std::string& setup = "") {
        std::string line =
            setup + "XDG_CONFIG_HOME='" + path("config") + "' '" + KELMOR_CLI + "' " + command;
        for (const std::string& arg : args) {
            line += " '";
            for (char c : arg)
                line += c == '\'' ? std::string("'\\''") : std::string(1, c);
            line += "'";
        }
        line += " >'" + path("stdout") + "' 2>'" + path("stderr") + "'";
        const int raw = std::system(line.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readFile("stdout"), readFile("stderr")};
    }
    std::vector<std::string> outFiles() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_ / "out"))
            names.push_back(entry.path().filename().string());
        return names;
    }
};

struct BadInput {
    std::vector<std::string> args;
    std::string message;
};

std::string repeated(const std::string& text, int times) {
    std::string all;
    for (int i = 0; i < times; ++i)
        all += text;
    return all;
}

class CliButtonBadInput : public CliButton, public ::testing::WithParamInterface<BadInput> {};

TEST_P(CliButtonBadInput, FailsWithItsMessageAndWritesNothing) {
    writeFile("broken.ini", "[STYLE]\nFill=#12345\n");
    writeFile("nosection.ini", "Fill=#123456\n");
    fs::create_symlink("missing/site.kxq", folder_ / "dangling.kxq");
    std::vector<std::string> args{"-d", path("out"), "--project", path("out/site.kxq"), "Home"};
    for (std::string arg : GetParam().args)
        args.push_back(arg.starts_with("@") ? path(arg.substr(1)) : arg);
    const CliRun result = run("button", args);
    EXPECT_EQ(result.status, 1);
    EXPECT_THAT(result.err, HasSubstr(GetParam().message));
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(outFiles(), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(
    Values, CliButtonBadInput,
    ::testing::Values(
        BadInput{{"--color", "red"}, "--color: 'red' is not a colour (#RRGGBB)"},
        BadInput{{"--fill", "#123456,#12345"}, "--fill: '#12345' is not a colour (#RRGGBB)"},
        BadInput{{"--over-border", "#GGGGGG"}, "--over-border: '#GGGGGG' is not a colour"},
        BadInput{{"--width", "0"}, "--width: '0' is not a size from 1 to 2000 pixels"},
        BadInput{{"--height", "2001"}, "--height: '2001' is not a size from 1 to 2000 pixels"},
        BadInput{{"--border", "2"}, "--border: '2' is not a border width and colour"},
        BadInput{{"--size", "3"}, "--size: '3' is not a font size from 4 to 200 points"},
        BadInput{{"--size", "201"}, "--size: '201' is not a font size from 4 to 200 points"},
        BadInput{{"--shape", "star"}, "--shape: 'star' is not a shape (rect, rounded or pill)"},
        BadInput{{"--format", "bmp"}, "--format: 'bmp' is not a picture kind"},
        BadInput{{"--scale", "2"}, "--scale: '2' is not a list of scales (1 or 1,2)"},
        BadInput{{"--matte", "white"}, "--matte: 'white' is not a colour (#RRGGBB)"},
        BadInput{{"--current-fill", "#12345"}, "--current-fill: '#12345' is not a colour"},
        BadInput{{"--current-color", "white"}, "--current-color: 'white' is not a colour"},
        BadInput{{"Home current"},
                 "Buttons 'Home' and 'Home current' would both write home-current.png"},
        BadInput{{""}, "A button text is empty"},
        BadInput{{"=news.html"}, "A button text is empty"},
        BadInput{{"News= "}, "The link of the button 'News' is empty"},
        BadInput{{"Caf\xE9"}, "A button text is not valid UTF-8"},
        // Refused before Pango spends seconds laying them out.
        BadInput{{"A" + repeated("\xCC\x81", 30000)},
                 "A button text is longer than 1000 characters"},
        BadInput{{repeated("a\n", 50000)}, "A button text is longer than 1000 characters"},
        BadInput{{"home"}, "Buttons 'Home' and 'home' would both write home.png"},
        BadInput{{"Home over"}, "Buttons 'Home' and 'Home over' would both write home-over.png"},
        BadInput{{"--color", "\x1B]0;title\x07"}, "--color: '\\x1B]0;title\\x07' is not a colour"},
        BadInput{{"--color", std::string(300, 'r')},
                 "--color: '" + std::string(200, 'r') + "...' is not a colour"},
        // A project that cannot be written is found before any picture is.
        BadInput{{"--project", "@dangling.kxq"}, "Cannot create file /"},
        BadInput{{"--project", "@site\x01.kxq"}, "site\\x01.kxq"},
        BadInput{{"-d", "@out/\x1B"}, "out/\\x1B/home.png"},
        BadInput{{"--size", "200", "Contact us today"}, "'Contact us today' would be larger"},
        BadInput{{"--style", "Missing"}, "not found"},
        BadInput{{"--style", "@broken.ini"},
                 "broken.ini is damaged: Fill: '#12345' is not a colour"},
        BadInput{{"--style", "@nosection.ini"}, "nosection.ini is damaged: it has no [STYLE]"}));

TEST_F(CliButton, MenuGoesIntoAProjectThatPageBuilds) {
    const std::string project = path("site.kxq");
    CliRun result = run("button", {"--style", "Glass", "--project", project, "-d", folder_,
                                   "Home=index.html", "News"});
    ASSERT_EQ(result.status, 0) << result.err;
    fs::create_directory(path("pics"));
    result.out += run("button", {"--style", "Pill", "--bold", "--project", project, "-d",
                                 path("pics"), "Contact\\=us=mail.php?to=me"})
                      .out;
    EXPECT_TRUE(fs::exists(path("config/kelmor/styles/Rounded.ini")));

    // Each printed line names the files and their size; the project's rows follow them, with
    // the links typed or made from the texts.
    const std::vector<std::string> links{"index.html", "news.html", "mail.php?to=me"};
    std::istringstream lines(result.out);
    std::vector<PageButton> expected;
    std::string line;
    while (std::getline(lines, line)) {
        // The 1x pictures, then the 2x ones at twice the size, each file and its size.
        std::istringstream words(line);
        std::string normal, normalSize, over, overSize, current, currentSize, twice, twiceSize;
        words >> normal >> normalSize >> over >> overSize >> current >> currentSize;
        EXPECT_EQ(normalSize, overSize);
        EXPECT_EQ(normalSize, currentSize);
        const std::string name = normal.substr(0, normal.size() - 4);
        EXPECT_EQ(current, name + "-current.png");
        for (const char* suffix : {"@2x.png", "-over@2x.png", "-current@2x.png"}) {
            words >> twice >> twiceSize;
            EXPECT_EQ(twice, name + suffix);
            const PictureSize size =
                measurePng(readFile((expected.size() < 2 ? "" : "pics/") + twice)).size;
            EXPECT_EQ(twiceSize, std::to_string(size.width) + "x" + std::to_string(size.height));
            EXPECT_EQ(
                size.width,
                2 * measurePng(readFile((expected.size() < 2 ? "" : "pics/") + normal)).size.width);
        }
        EXPECT_TRUE(words.eof() || (words >> twice).fail()) << line;
        const std::string dir = expected.size() < 2 ? "" : "pics/";
        const PictureSize size = measurePng(readFile(dir + normal)).size;
        EXPECT_EQ(normalSize, std::to_string(size.width) + "x" + std::to_string(size.height));
        EXPECT_EQ(measurePng(readFile(dir + over)).size.width, size.width);
        expected.push_back({dir + normal, dir + over, links.at(expected.size()), "", "",
                            std::to_string(size.width), std::to_string(size.height)});
    }
    ASSERT_EQ(expected.size(), 3u);
    EXPECT_EQ(expected[1].mouseOver, "news-over.png");
    EXPECT_EQ(expected[2].normal, "pics/contact=us.png");

    result = run("page", {"--html5", project, path("menu.html")});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(readFile("menu.html"), pageText(pageKindNamed("html5"), expected, {}));
}

TEST_F(CliButton, AProjectWriteThatFailsRemovesThePicturesItMade) {
    // Larger than the file size limit, the project passes every check and fails as it is written.
    const std::string project = "13,2\r\n0,1," + std::string(40000, 'x') + "\r\n";
    writeFile("out/big.kxq", project);
    const CliRun result =
        run("button", {"-d", path("out"), "--project", path("out/big.kxq"), "Home", "News"},
            "trap '' XFSZ; ulimit -f 32; ");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "Cannot create file " + path("out/big.kxq") + "\n");
    EXPECT_EQ(outFiles(), std::vector<std::string>{"big.kxq"});
    EXPECT_EQ(readFile("out/big.kxq"), project);
}

struct ScaleRun {
    std::vector<std::string> args;
    std::vector<std::string> files;
};

class CliButtonScales : public CliButton, public ::testing::WithParamInterface<ScaleRun> {};

TEST_P(CliButtonScales, WriteTheirPicturesOnly) {
    std::vector<std::string> args{"-d", path("out")};
    args.insert(args.end(), GetParam().args.begin(), GetParam().args.end());
    args.push_back("Go");
    const CliRun result = run("button", args);
    ASSERT_EQ(result.status, 0) << result.err;
    std::vector<std::string> files = outFiles();
    std::ranges::sort(files);
    EXPECT_EQ(files, GetParam().files);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, CliButtonScales,
    ::testing::Values(ScaleRun{{"--scale", "1"}, {"go-current.png", "go-over.png", "go.png"}},
                      ScaleRun{{"--format", "gif"}, {"go-current.gif", "go-over.gif", "go.gif"}},
                      ScaleRun{{"--format", "gif", "--scale", "1,2"},
                               {"go-current.gif", "go-current@2x.gif", "go-over.gif",
                                "go-over@2x.gif", "go.gif", "go@2x.gif"}},
                      ScaleRun{{"--format", "svg", "--scale", "1,2"},
                               {"go-current.svg", "go-over.svg", "go.svg"}}));

// A current page's colours set on the command line are the ones its picture shows.
TEST_F(CliButton, CurrentColoursGoIntoTheCurrentPicture) {
    const CliRun result =
        run("button", {"-d", path("out"), "--format", "svg", "--current-fill", "#102030,#405060",
                       "--current-color", "#AABBCC", "--current-border", "#010203", "Go"});
    ASSERT_EQ(result.status, 0) << result.err;
    const std::string current = readFile("out/go-current.svg");
    for (const char* colour : {"#102030", "#405060", "#AABBCC", "#010203"}) {
        EXPECT_THAT(current, HasSubstr(colour));
        EXPECT_EQ(readFile("out/go.svg").find(colour), std::string::npos) << colour;
    }
}

// --matte puts a GIF onto the page's colour: it is the PNG of the same run as `vips flatten` puts
// it there, the shadow's half-transparent pixels kept, only wholly transparent ones transparent.
TEST_F(CliButton, GifLiesOnTheMatte) {
    for (const char* kind : {"png", "gif"}) {
        const CliRun result = run("button", {"-d", path("out"), "--style", "Glass", "--scale", "1",
                                             "--format", kind, "--matte", "#102030", "Go"});
        ASSERT_EQ(result.status, 0) << result.err;
    }
    ASSERT_TRUE(test::runTool("vips flatten '" + path("out/go.png") + "' '" + path("flat.png") +
                              "' --background '16 32 48'"));
    const RgbaImage png = decodePng(readFile("out/go.png"));
    const RgbaImage flat = decodePng(readFile("flat.png"));
    Picture gif;
    gif.loadFromBytes(PictureFormat::Gif, readFile("out/go.gif"));
    const RgbaImage shown = gif.rgba();
    ASSERT_EQ(shown.pixels.size(), png.pixels.size());
    std::size_t faint = 0, difference = 0, visible = 0;
    for (std::size_t i = 0; i < png.pixels.size(); i += 4) {
        const int alpha = png.pixels[i + 3];
        faint += alpha > 0 && alpha < 128;
        ASSERT_EQ(shown.pixels[i + 3], alpha == 0 ? 0 : 255) << i / 4;
        for (std::size_t c = 0; c < 3 && alpha > 0; ++c, ++visible)
            difference += std::size_t(std::abs(shown.pixels[i + c] - flat.pixels[i + c]));
    }
    EXPECT_GT(faint, 20u);
    EXPECT_LE(double(difference) / double(visible), 3.0);
}

TEST_F(CliButton, AMissingFontFallsBackAndSaysSo) {
    const CliRun result =
        run("button", {"-d", path("out"), "--font", "No Such Family Here", "Home"});
    EXPECT_EQ(result.status, 0);
    EXPECT_THAT(result.err, HasSubstr("Font 'No Such Family Here' is not installed; using "));
    EXPECT_EQ(outFiles().size(), 6u);
}

// A style whose text is hard to read is named on standard error and still written, unless
// --strict, which writes nothing; a folder the user made still has the shipped Glass.
TEST_F(CliButton, HardToReadTextWarnsAndStrictRefuses) {
    fs::create_directories(path("config/kelmor/styles"));
    const std::vector<std::string> faint{"-d",      path("out"),    "--style", "Glass", "--color",
                                         "#CCCCCC", "--over-color", "#FFFFFF", "Go"};
    CliRun result = run("button", faint);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_THAT(result.err, HasSubstr("The text of the normal state is hard to read: contrast "));
    EXPECT_THAT(result.err, HasSubstr(", at least 4.5:1 wanted."));
    EXPECT_EQ(result.err.find("mouse-over"), std::string::npos) << result.err;
    EXPECT_EQ(outFiles().size(), 6u);
    fs::remove_all(path("out"));
    fs::create_directory(path("out"));
    std::vector<std::string> strict = faint;
    strict.insert(strict.begin(), "--strict");
    result = run("button", strict);
    EXPECT_EQ(result.status, 1);
    EXPECT_THAT(result.err, HasSubstr("not written: their text is hard to read (--strict)"));
    EXPECT_EQ(outFiles(), std::vector<std::string>{});
    result = run("button", {"--strict", "-d", path("out"), "--style", "Glass", "Go"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
}

} // namespace
} // namespace kelmor
