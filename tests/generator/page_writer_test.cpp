#include "base/error.h"
#include "base/product.h"
#include "generator/page_writer.h"
#include "project/button_columns.h"
#include "project/project_file.h"

#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sstream>

namespace kelmor {
namespace {

using ::testing::ElementsAre;
using ::testing::StartsWith;

const PageKind kPlain = pageKindNamed("plain");
const PageKind kSound = pageKindNamed("sound");
const PageKind kHtml5 = pageKindNamed("html5");

// The expected pages under tests/data/pages carry "@WEB_ADDRESS@" where the maker's address goes.
std::string goldenPage(const std::string& name) {
    std::ifstream in(std::string(KELMOR_TEST_DATA) + "/pages/" + name, std::ios::binary);
    EXPECT_TRUE(in) << name;
    std::stringstream bytes;
    bytes << in.rdbuf();
    std::string text = bytes.str();
    const std::string placeholder = "@WEB_ADDRESS@";
    if (auto at = text.find(placeholder); at != std::string::npos)
        text.replace(at, placeholder.size(), product::kWebAddress);
    return text;
}

std::vector<std::string> splitCrLf(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "text after the last CR LF";
    return lines;
}

struct GoldenCase {
    const char* name;
    const char* file;
    const char* kind;
    std::vector<PageButton> buttons;
    PageSettings settings;
    // When set, the buttons and the page fields (all but the separator) come from the data
    // rows and row 1 of this project under tests/data/projects, as kelmor-cli takes them.
    const char* project = nullptr;
};

class GoldenPageTest : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(GoldenPageTest, MatchesTheExpectedBytes) {
    GoldenCase c = GetParam();
    if (c.project) {
        StringGrid grid = newButtonList();
        readProjectFile(std::string(KELMOR_TEST_DATA) + "/projects/" + c.project, grid);
        c.buttons = pageButtons(grid, grid.rowCount() - 1);
        c.settings = {grid.cell(ButtonColumn::PageTitle, 1), grid.cell(ButtonColumn::BgColor, 1),
                      grid.cell(ButtonColumn::BgImage, 1), c.settings.separator};
    }
    const PageKind kind = pageKindNamed(c.kind);
    const std::string text = pageText(kind, c.buttons, c.settings);
    EXPECT_EQ(text, goldenPage(c.file));
    EXPECT_EQ(pageLines(kind, c.buttons, c.settings), splitCrLf(text));
}

INSTANTIATE_TEST_SUITE_P(
    Pages, GoldenPageTest,
    ::testing::Values(
        // A fresh Button list: one empty row, empty page fields, no separator.
        GoldenCase{"FreshList", "plain-1-empty.html", "plain", {PageButton{}}, {}},
        // Quotes, trailing blanks and empty values go in exactly as typed.
        GoldenCase{"OddValues",
                   "plain-1-odd.html",
                   "plain",
                   {{"home.gif", "home 2.gif ", "index.html?a=\"b\"", "", "ignored.wav"}},
                   {"My \"Site\" ", "#FFFFFF", "", "&nbsp;  "}},
        GoldenCase{"TwoSoundButtons",
                   "sound-2.html",
                   "sound",
                   {{"a.gif", "a2.gif", "one.html", "_top", "default.wav"},
                    {"b.gif", "b2.gif", "two.html", "main", ""}},
                   {"Sounds", "#000080", "bg.jpg", "<br><br>"}},
        // The HTML5 pages of the odd values table, whose pages a browser and html-validate read.
        GoldenCase{"Html5OddSound",
                   "html5-sound-odd.html",
                   "html5-sound",
                   {},
                   {"", "", "", "&nbsp;&nbsp;  "},
                   "odd-values.kxq"},
        GoldenCase{"Html5OddPlain",
                   "html5-plain-odd.html",
                   "html5",
                   {},
                   {"", "", "", "<br>"},
                   "odd-values.kxq"},
        // A fresh Button list, then names that leave no readable text, a BG Color that is no
        // CSS colour, CSS escapes, and bytes that are no UTF-8.
        GoldenCase{"Html5Fresh", "html5-plain-1-empty.html", "html5", {PageButton{}}, {}},
        GoldenCase{"Html5Edges",
                   "html5-sound-2-edges.html",
                   "html5-sound",
                   {{"pics/", "", "", " ", "a\\b.wav", " 12", "12 "},
                    {"-_.gif", " ", "x\xC3", "", "\xFF", "0", "99"}},
                   {" \t ", "red; \"x", "a\\b\"\x01\x7F\x1F.gif", ""}}),
    [](const auto& param) { return std::string(param.param.name); });

// Names a page uses for button k, spelled out rather than computed.
const char* const kImageNames[] = {"image",  "imagea", "imageb", "imagec", "imaged",
                                   "imagee", "imagef", "imageg", "imageh", "imagei"};

class PageShapeTest : public ::testing::TestWithParam<std::tuple<PageKind, int>> {
protected:
    static std::vector<PageButton> buttons(int count) {
        std::vector<PageButton> list;
        for (int k = 1; k <= count; ++k) {
            const std::string n = std::to_string(k);
            list.push_back(
                {"n" + n + ".gif", "o" + n + ".gif", "l" + n + ".html", "f" + n, "s" + n + ".wav"});
        }
        return list;
    }
};

TEST_P(PageShapeTest, HasTheLinesAndNamesOfEveryButton) {
    const auto [kind, count] = GetParam();
    const bool sound = kind == kSound;
    const PageSettings settings{"T", "#123456", "bg.gif", "&nbsp;&nbsp;  "};
    const std::string text = pageText(kind, buttons(count), settings);
    const auto lines = pageLines(kind, buttons(count), settings);

    ASSERT_EQ(lines.size(), static_cast<size_t>(sound ? 17 + 7 * count : 13 + 6 * count));
    EXPECT_EQ(splitCrLf(text), lines);
    EXPECT_EQ(lines.back(), "</html>");
    EXPECT_EQ(text.substr(text.size() - 9), "</html>\r\n");

    const size_t scriptStart = sound ? 10 : 6;
    const size_t bodyStart = scriptStart + 4 * count + 5;
    const size_t perButton = sound ? 3 : 2;
    EXPECT_EQ(lines[bodyStart - 1], "<body bgcolor=\"#123456\"background=\"bg.gif\">");
    for (int k = 1; k <= count; ++k) {
        const std::string n = std::to_string(k);
        const std::string normalVar = "image" + std::to_string(2 * k - 1);
        const std::string overVar = "image" + std::to_string(2 * k);
        const size_t script = scriptStart + 4 * (k - 1);
        EXPECT_EQ(lines[script], "var " + normalVar + " = new Image;");
        EXPECT_EQ(lines[script + 1], normalVar + ".src =\"n" + n + ".gif\";");
        EXPECT_EQ(lines[script + 2], "var " + overVar + " = new Image;");
        EXPECT_EQ(lines[script + 3], overVar + ".src =\"o" + n + ".gif\";");

        const std::string name = kImageNames[k - 1];
        size_t body = bodyStart + perButton * (k - 1);
        if (sound) {
            EXPECT_EQ(lines[body], "<EMBED SRC=\"s" + n +
                                       ".wav\" autostart=false HIDDEN=TRUE NAME=\"sound" + n +
                                       "\" MASTERSOUND>");
            ++body;
        }
        EXPECT_THAT(lines[body],
                    StartsWith("&nbsp;&nbsp;  <a href=\"l" + n + ".html\" target=\"f" + n +
                               "\"onMouseOver=\"document." + name + ".src = " + overVar + ".src"));
        if (sound) {
            EXPECT_THAT(lines[body], ::testing::EndsWith(", makesound('sound" + n + "')\""));
        }
        EXPECT_EQ(lines[body + 1], "onMouseOut=\"document." + name + ".src = " + normalVar +
                                       ".src\"> <img name=\"" + name + "\" src=\"n" + n +
                                       ".gif\" border=\"0\"></a>");
    }
}

INSTANTIATE_TEST_SUITE_P(AllCounts, PageShapeTest,
                         ::testing::Combine(::testing::Values(kPlain, kSound),
                                            ::testing::Range(1, 11)),
                         [](const auto& param) {
                             return std::string(std::get<0>(param.param) == kPlain ? "Plain"
                                                                                   : "Sound") +
                                    std::to_string(std::get<1>(param.param));
                         });

TEST(PageWriterTest, CountsOutsideOneToTenThrowWithTheCount) {
    for (size_t count : {0u, 11u, 25u}) {
        const std::vector<PageButton> buttons(count);
        const std::string expected =
            "A page holds 1 to 10 buttons; the Button list has " + std::to_string(count) + ".";
        for (PageKind kind : pageKinds()) {
            try {
                pageText(kind, buttons, {});
                ADD_FAILURE() << "no error for " << count;
            } catch (const Error& error) {
                EXPECT_EQ(error.what(), expected);
            }
            EXPECT_THROW(pageLines(kind, buttons, {}), Error);
        }
    }
}

TEST(PageWriterTest, ButtonCountLabelMustBeOneToTenExactly) {
    EXPECT_EQ(pageButtonCount("1"), 1);
    EXPECT_EQ(pageButtonCount("7"), 7);
    EXPECT_EQ(pageButtonCount("10"), 10);
    for (const char* text : {"", "0", "11", "01", " 1", "1 ", "+1", "1.0", "ten", "100"})
        EXPECT_EQ(pageButtonCount(text), std::nullopt) << '"' << text << '"';
}

TEST(PageWriterTest, ButtonsComeFromRowsOneToCountAndTheirColumns) {
    StringGrid grid(ButtonColumn::Count, 3);
    for (int column = 0; column < ButtonColumn::Count; ++column) {
        grid.setCell(column, 0, "header");
        grid.setCell(column, 1, "r1c" + std::to_string(column));
        grid.setCell(column, 2, "r2c" + std::to_string(column));
    }
    const auto buttons = pageButtons(grid, 3);
    ASSERT_EQ(buttons.size(), 3u);
    EXPECT_EQ(buttons[0].normal, "r1c0");
    EXPECT_EQ(buttons[0].mouseOver, "r1c5");
    EXPECT_EQ(buttons[0].link, "r1c4");
    EXPECT_EQ(buttons[0].frame, "r1c3");
    EXPECT_EQ(buttons[0].sound, "r1c8");
    EXPECT_EQ(buttons[0].width, "r1c1");
    EXPECT_EQ(buttons[0].height, "r1c2");
    EXPECT_EQ(buttons[1].normal, "r2c0");
    // Row 3 lies beyond the grid and reads empty.
    EXPECT_THAT(std::vector<std::string>({buttons[2].normal, buttons[2].mouseOver, buttons[2].link,
                                          buttons[2].frame, buttons[2].sound}),
                ElementsAre("", "", "", "", ""));
    EXPECT_TRUE(pageButtons(grid, 0).empty());
}

// A BG Color and what the HTML5 page's body writes of it; nullptr: nothing.
struct ColourCase {
    const char* typed;
    const char* written;
};

class BgColorTest : public ::testing::TestWithParam<ColourCase> {};

TEST_P(BgColorTest, Html5PageWritesOnlyOneCssColourAndTheLegacyPageAnyText) {
    const ColourCase& c = GetParam();
    const PageSettings settings{"T", c.typed, "", ""};
    const std::vector<PageButton> buttons(1);
    const std::string body = pageLines(kHtml5, buttons, settings)[7];
    EXPECT_EQ(body, c.written ? "<body style=\"background-color: " + std::string(c.written) + "\">"
                              : std::string("<body>"));
    EXPECT_EQ(dropsBgColor(kHtml5, settings),
              !c.written && std::string_view(c.typed).find_first_not_of(" ") != std::string::npos);
    EXPECT_FALSE(dropsBgColor(kPlain, settings));
    EXPECT_THAT(pageText(kSound, buttons, settings),
                ::testing::HasSubstr("<body bgcolor=\"" + std::string(c.typed) + "\"background"));
}

INSTANTIATE_TEST_SUITE_P(
    Values, BgColorTest,
    ::testing::Values(
        ColourCase{"#fff", "#fff"}, ColourCase{"#FFEECC", "#FFEECC"},
        ColourCase{" #a0B \t", "#a0B"}, ColourCase{"Red", "Red"},

        ColourCase{"rgb(1, 2, 3)", "rgb(1, 2, 3)"},
        ColourCase{"RGBA(10%,20%,30%,.5)", "RGBA(10%,20%,30%,.5)"},
        ColourCase{"rgb(1 2 3 / 50%)", "rgb(1 2 3 / 50%)"},
        ColourCase{"hsl(120deg 50% 50%)", "hsl(120deg 50% 50%)"},
        ColourCase{"hsla(0.5TURN, 10%, 10%, 1)", "hsla(0.5TURN, 10%, 10%, 1)"},
        ColourCase{"hsl(3.1rad,1%,1%)", "hsl(3.1rad,1%,1%)"}, ColourCase{"   ", nullptr},
        ColourCase{"#fff; background-image:url(http://127.0.0.1:9/beacon); visibility:hidden",
                   nullptr},
        ColourCase{"red;", nullptr}, ColourCase{"red blue", nullptr}, ColourCase{"#ffff", nullptr},
        ColourCase{"#fffffff", nullptr}, ColourCase{"#ggg", nullptr}, ColourCase{"#", nullptr},
        ColourCase{"reds", nullptr}, ColourCase{"red\"x", nullptr},
        ColourCase{"rgb(1,2,3);color:red", nullptr}, ColourCase{"rgb(1,2,3)x", nullptr},
        ColourCase{"rgb(url(x))", nullptr}, ColourCase{"rgb(1,2,3", nullptr},
        ColourCase{"rgb()", nullptr}, ColourCase{"rgb( , )", nullptr},
        ColourCase{"rgb(1,2,3}", nullptr}, ColourCase{"hsl(deg,1%,1%)", nullptr},
        ColourCase{"hsl(120 deg,1%,1%)", nullptr}, ColourCase{"rgb(1e2,0,0)", nullptr},
        ColourCase{"rgb(-1,0,0)", nullptr}, ColourCase{"rgb(var(--x))", nullptr},
        ColourCase{"expression(alert(1))", nullptr}, ColourCase{"calc(1)", nullptr},
        ColourCase{"#fff\n;x", nullptr}, ColourCase{"rgb (1,2,3)", nullptr}));

} // namespace
} // namespace kelmor
