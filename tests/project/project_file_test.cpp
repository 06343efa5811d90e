#include "base/error.h"
#include "base/read_file.h"
#include "project/button_columns.h"
#include "project/project_file.h"
#include "support/temp_folder.h"

#include <climits>
#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>
#include <vector>

namespace kelmor {
namespace {

namespace fs = std::filesystem;

const char* const kHeaderLines = "0,0,Normal Button\r\n1,0,Width\r\n2,0,Height\r\n3,0,Frame\r\n"
                                 "4,0,Link\r\n5,0,Mouse Over\r\n6,0,Width\r\n7,0,Height\r\n"
                                 "8,0,Sound\r\n9,0,BG\r\n10,0,BG Color\r\n11,0,Page Title\r\n"
                                 "12,0,Target Page\r\n";

std::string widthLines(int lastWidth) {
    std::string text;
    for (int column = 0; column < 12; ++column)
        text += "cw " + std::to_string(column) + "," + (column == 2 ? "116" : "108") + "\r\n";
    return text + "cw 12," + std::to_string(lastWidth) + "\r\n";
}

std::vector<std::string> cells(const StringGrid& grid) {
    std::vector<std::string> all;
    for (int row = 0; row < grid.rowCount(); ++row)
        for (int column = 0; column < grid.columnCount(); ++column)
            all.push_back(grid.cell(column, row));
    return all;
}

// The example project: one plain button with its page settings in row 1.
StringGrid homeProject() {
    StringGrid grid = newButtonList();
    const char* row[] = {"home.gif", "88", "31", "_top",    "index.html", "home2.gif",         "88",
                         "31",       "",   "",   "#FFFFFF", "Home",       "C:\\web\\menu.html"};
    for (int column = 0; column < ButtonColumn::Count; ++column)
        grid.setCell(column, 1, row[column]);
    grid.setColumnWidth(ButtonColumn::TargetPage, 245);
    return grid;
}

TEST(ProjectWriteTest, FreshListWritesSizeWidthsAndHeadersOnly) {
    EXPECT_EQ(projectText(newButtonList()), "13,2\r\n" + widthLines(108) + kHeaderLines);
}

TEST(ProjectWriteTest, ExampleProjectMatchesTheExpectedFile) {
    const std::string expected =
        readWholeFile(std::string(KELMOR_TEST_DATA) + "/projects/home.kxq");
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(projectText(homeProject()), expected);

    StringGrid grid = newButtonList();
    readProjectText(expected, grid);
    EXPECT_EQ(cells(grid), cells(homeProject()));
    EXPECT_EQ(grid.columnWidth(ButtonColumn::TargetPage), 245);
    EXPECT_EQ(grid.columnWidth(ButtonColumn::NormalHeight), 116);
}

TEST(ProjectWriteTest, GridNarrowerThanTheButtonListStillWritesEveryColumn) {
    StringGrid grid(1, 1);
    grid.setCell(0, 0, "only");
    grid.setColumnWidth(0, 50);
    std::string expected = "13,1\r\ncw 0,50\r\n";
    for (int column = 1; column < ButtonColumn::Count; ++column)
        expected += "cw " + std::to_string(column) + "," +
                    (column == ButtonColumn::NormalHeight ? "116" : "108") + "\r\n";
    EXPECT_EQ(projectText(grid), expected + "0,0,only\r\n");
}

TEST(ProjectWriteTest, ProgressRunsOncePerRowWritten) {
    StringGrid grid = newButtonList();
    grid.setRowCount(7);
    int calls = 0;
    projectText(grid, [&] { ++calls; });
    EXPECT_EQ(calls, 7);
}

// Reading starts from a grid that already holds a project, as in the program.
class ProjectReadTest : public ::testing::Test {
protected:
    void SetUp() override {
        grid_ = newButtonList();
        grid_.setRowCount(4);
        for (int row = 1; row < 4; ++row)
            for (int column = 0; column < ButtonColumn::Count; ++column)
                grid_.setCell(column, row, "old");
    }

    void read(const std::string& bytes) { readProjectText(bytes, grid_); }

    void expectDataRowsEmpty() {
        for (int row = 1; row < grid_.rowCount(); ++row)
            for (int column = 0; column < grid_.columnCount(); ++column)
                EXPECT_EQ(grid_.cell(column, row), "") << column << "," << row;
    }

    StringGrid grid_;
};

TEST_F(ProjectReadTest, SizeLineSetsRowsAndEmptiesEveryDataRow) {
    read("13,5\r\n1,2,kept\r\n");
    EXPECT_EQ(grid_.columnCount(), 13);
    EXPECT_EQ(grid_.rowCount(), 5);
    EXPECT_EQ(grid_.cell(1, 2), "kept");
    grid_.setCell(1, 2, "");
    expectDataRowsEmpty();
    EXPECT_EQ(grid_.cell(0, 0), "Normal Button");
}

TEST_F(ProjectReadTest, BareLineFeedsMakeOneLineAndOnlyTheSizeTakesEffect) {
    read("13,3\ncw 0,50\n0,0,New Header\n0,1,home.gif\n");
    EXPECT_EQ(grid_.rowCount(), 3);
    EXPECT_EQ(grid_.columnWidth(0), 108);
    EXPECT_EQ(grid_.cell(0, 0), "Normal Button");
    expectDataRowsEmpty();
}

TEST_F(ProjectReadTest, ZeroCountsGiveOneColumnAndOneRow) {
    read("0,0\r\n");
    EXPECT_EQ(grid_.columnCount(), 1);
    EXPECT_EQ(grid_.rowCount(), 1);
    EXPECT_EQ(grid_.cell(0, 0), "Normal Button");
}

TEST_F(ProjectReadTest, EmptyFirstLineKeepsCountsButEmptiesData) {
    read("\r\n3,0,Target\r\n");
    EXPECT_EQ(grid_.rowCount(), 4);
    EXPECT_EQ(grid_.cell(3, 0), "Target");
    expectDataRowsEmpty();

    SetUp();
    read("");
    EXPECT_EQ(grid_.rowCount(), 4);
    expectDataRowsEmpty();
}

TEST_F(ProjectReadTest, SizeLineWithoutCommaGivesColumnsAndOneRow) {
    read("7\r\n");
    EXPECT_EQ(grid_.columnCount(), 7);
    EXPECT_EQ(grid_.rowCount(), 1);
}

TEST_F(ProjectReadTest, HugeSizeLineIsCappedInsteadOfExhaustingMemory) {
    read("99999999999999999999,99999999999999999999\r\n");
    EXPECT_EQ(grid_.columnCount(), kMaxProjectColumns);
    EXPECT_EQ(grid_.rowCount(), kMaxProjectCells / kMaxProjectColumns);
}

TEST_F(ProjectReadTest, RowCapOfANarrowGridSurvivesSavingAndReadingBack) {
    read("3,99999999\r\n2,160000,deep\r\n");
    const int rows = grid_.rowCount();
    EXPECT_EQ(rows, kMaxProjectCells / ButtonColumn::Count);
    read(projectText(grid_));
    EXPECT_EQ(grid_.rowCount(), rows);
    EXPECT_EQ(grid_.cell(2, 160000), "deep");
}

TEST_F(ProjectReadTest, WidthLines) {
    read("13,2\r\ncw 3,77\r\ncw 4, 0x20\r\ncw 20,50\r\ncw -1,50\r\ncw 20\r\ncw 5\r\n");
    EXPECT_EQ(grid_.columnWidth(3), 77);
    EXPECT_EQ(grid_.columnWidth(4), 32);
    // "cw 5" has no width: it reads as 0.
    EXPECT_EQ(grid_.columnWidth(5), 0);
    for (int column : {0, 1, 6, 12})
        EXPECT_EQ(grid_.columnWidth(column), 108);
}

TEST_F(ProjectReadTest, WidthIsReadFromAtMost255Characters) {
    read("13,2\r\ncw 1," + std::string(254, ' ') + "9\r\ncw 2," + std::string(255, ' ') + "9\r\n");
    EXPECT_EQ(grid_.columnWidth(1), 9);
    EXPECT_EQ(grid_.columnWidth(2), 0);
}

TEST_F(ProjectReadTest, CellLinesOutsideTheGridAreIgnored) {
    read("13,3\r\n5,9,far\r\n13,1,right\r\n-1,1,left\r\n2,-1,up\r\n5,2,in\r\n"
         "4294967297,1,wrapped\r\n1,4294967298,wrapped\r\n");
    EXPECT_EQ(grid_.rowCount(), 3);
    EXPECT_EQ(grid_.cell(5, 2), "in");
    grid_.setCell(5, 2, "");
    expectDataRowsEmpty();
}

TEST_F(ProjectReadTest, OddCellLines) {
    read("13,3\r\n4,1,a,b,,c\r\nplain words\r\n3,abc\r\n 2 , 1 ,x\r\n$A,$1,hex\r\n"
         "0000000006,00000000002,zeros\r\n");
    EXPECT_EQ(grid_.cell(4, 1), "a,b,,c");      // the text keeps its commas
    EXPECT_EQ(grid_.cell(0, 0), "plain words"); // no comma: column 0, row 0, the whole line
    EXPECT_EQ(grid_.cell(3, 0), "abc");         // one comma: row 0, the text after it
    EXPECT_EQ(grid_.cell(2, 1), "x");
    EXPECT_EQ(grid_.cell(10, 1), "hex");
    EXPECT_EQ(grid_.cell(6, 2), "zeros");
}

TEST_F(ProjectReadTest, EmptyLineEmptiesTheFirstHeaderCell) {
    read("13,2\r\n\r\n1,1,x\r\n");
    EXPECT_EQ(grid_.cell(0, 0), "");
    EXPECT_EQ(grid_.cell(1, 0), "Width");
    EXPECT_EQ(grid_.cell(1, 1), "x");
}

TEST_F(ProjectReadTest, LineEndsAtCarriageReturnAlone) {
    read("13,2\r0,1,a\r\r1,1,b\n2,1,c\r\n3,1,last without end");
    EXPECT_EQ(grid_.cell(0, 1), "a");
    EXPECT_EQ(grid_.cell(0, 0), ""); // the empty line between the two CRs
    EXPECT_EQ(grid_.cell(1, 1), "b\n2,1,c");
    EXPECT_EQ(grid_.cell(3, 1), "last without end");
}

TEST_F(ProjectReadTest, OnlyCellsHoldingABackspaceAreDecoded) {
    read("13,3\r\n0,1,a\bb\r\n1,1,tab\tkept\r\n2,1,c\bd\tcut\r\n3,1,e\tf\r\n4,1,\b\r\n");
    EXPECT_EQ(grid_.cell(0, 1), "a\nb");
    EXPECT_EQ(grid_.cell(1, 1), "tab\tkept");
    EXPECT_EQ(grid_.cell(2, 1), "c\nd");
    EXPECT_EQ(grid_.cell(3, 1), "e\tf");
    EXPECT_EQ(grid_.cell(4, 1), "\n");
}

TEST_F(ProjectReadTest, ProgressRunsOncePerLineAfterTheSizeLine) {
    int calls = 0;
    readProjectText("13,2\r\ncw 0,1\r\n0,1,a\r\n\r\nx", grid_, [&] { ++calls; });
    EXPECT_EQ(calls, 4);
}

// Cells round-trip through a file: multi-line text keeps its first line only.
struct CellCase {
    const char* name;
    std::string text;
    std::string line; // the cell line as written
    std::string back; // the cell text after reading
};

class CellRoundTripTest : public ::testing::TestWithParam<CellCase> {};

TEST_P(CellRoundTripTest, WritesAndReadsBack) {
    const CellCase& c = GetParam();
    StringGrid grid = newButtonList();
    grid.setCell(4, 1, c.text);
    const std::string text = projectText(grid);
    EXPECT_EQ(text.substr(text.find("4,1,")), c.line);
    StringGrid back = newButtonList();
    readProjectText(text, back);
    EXPECT_EQ(back.cell(4, 1), c.back);
}

INSTANTIATE_TEST_SUITE_P(
    Cells, CellRoundTripTest,
    ::testing::Values(CellCase{"CrLf", "first\r\nsecond", "4,1,first\t\bsecond\r\n", "first"},
                      // Decoding triggers on a backspace only, so a lone CR comes back as a tab.
                      CellCase{"LoneCr", "a\rb", "4,1,a\tb\r\n", "a\tb"},
                      CellCase{"LfOnly", "a\nb", "4,1,a\nb\r\n", "a\nb"},
                      CellCase{"TabOnly", "a\tb", "4,1,a\tb\r\n", "a\tb"},
                      CellCase{"Backspace", std::string("a\bb"), "4,1,a\bb\r\n", "a\nb"},
                      CellCase{"Spaces", "  padded  ", "4,1,  padded  \r\n", "  padded  "},
                      CellCase{"Commas", "x,y,z", "4,1,x,y,z\r\n", "x,y,z"}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(CellCodingTest, EncodeAndDecodeSwapOnTheirTriggerOnly) {
    EXPECT_EQ(encodeCell("a\r\nb\tc"), "a\t\bb\tc");
    EXPECT_EQ(encodeCell("a\nb"), "a\nb");
    EXPECT_EQ(decodeCell("a\t\bb"), "a\r\nb");
    EXPECT_EQ(decodeCell("a\tb"), "a\tb");
    EXPECT_EQ(decodeCell(encodeCell("x\r\ny\r\n")), "x\r\ny\r\n");
}

struct NumberCase {
    const char* text;
    long long value;
};

class ProjectNumberTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(ProjectNumberTest, Parses) {
    EXPECT_EQ(parseProjectNumber(GetParam().text), GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, ProjectNumberTest,
    ::testing::Values(NumberCase{"108", 108}, NumberCase{"$1F", 31}, NumberCase{"0x1f", 31},
                      NumberCase{"0X1F", 31}, NumberCase{" -3x", -3}, NumberCase{"abc", 0},
                      NumberCase{"", 0}, NumberCase{"   42", 42}, NumberCase{"+7", 7},
                      NumberCase{"-$10", -16}, NumberCase{"12abc", 12}, NumberCase{"1 2", 1},
                      NumberCase{"$", 0}, NumberCase{"0x", 0}, NumberCase{"- 5", 0},
                      NumberCase{"$fg", 15}, NumberCase{"1F", 1}, NumberCase{"007", 7},
                      NumberCase{"9223372036854775807", LLONG_MAX},
                      NumberCase{"-9223372036854775808", LLONG_MIN},
                      NumberCase{"99999999999999999999999", LLONG_MAX},
                      NumberCase{"-99999999999999999999999", LLONG_MIN},
                      NumberCase{"$FFFFFFFFFFFFFFFFFFFF", LLONG_MAX}));

class ProjectFileTest : public test::TempFolderTest {};

TEST_F(ProjectFileTest, WriteThenReadRestoresCellsAndWidths) {
    const std::string file = path("home.kxq");
    StringGrid grid = homeProject();
    grid.insertRow(2);
    grid.setCell(ButtonColumn::Sound, 2, "default.wav");
    writeProjectFile(file, grid);
    EXPECT_EQ(readFile("home.kxq"), projectText(grid));

    StringGrid back = newButtonList();
    readProjectFile(file, back);
    EXPECT_EQ(back.rowCount(), 3);
    EXPECT_EQ(cells(back), cells(grid));
    EXPECT_EQ(back.columnWidth(ButtonColumn::TargetPage), 245);
}

TEST_F(ProjectFileTest, MissingUnreadableOrOversizedFileLeavesTheGridUntouched) {
    // A sparse file one byte past the limit: refused by its size, before any of it is read.
    const std::string huge = writeFile("huge.kxq", "");
    fs::resize_file(huge, kMaxProjectFileBytes + 1);
    const std::string locked = writeFile("locked.kxq", projectText(homeProject()));
    fs::permissions(locked, fs::perms::none);
    std::vector<std::pair<std::string, std::string>> cases = {
        {path("absent.kxq"), "File " + path("absent.kxq") + " not found"},
        {path("absent/p.kxq"), "File " + path("absent/p.kxq") + " not found"},
        {folder_.string(), "Cannot open file " + folder_.string()},
        {huge, "File " + huge + " is too large"}};
    if (::geteuid() != 0) // root reads any file
        cases.emplace_back(locked, "Cannot open file " + locked);
    StringGrid grid = homeProject();
    for (const auto& [file, message] : cases) {
        try {
            readProjectFile(file, grid);
            ADD_FAILURE() << "no error for " << file;
        } catch (const Error& error) {
            EXPECT_EQ(std::string(error.what()), message);
        }
        EXPECT_EQ(cells(grid), cells(homeProject()));
    }
}

TEST_F(ProjectFileTest, UncreatableFileIsReportedWithItsPath) {
    const std::string file = path("none/p.kxq");
    try {
        writeProjectFile(file, newButtonList());
        ADD_FAILURE() << "no error";
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot create file " + file);
    }
}

} // namespace
} // namespace kelmor
