// The renderer process against the drawing code it runs: the same pixels, sizes and messages;
// its crashes, limits and silences as the caller's errors; renderers shared by threads and
// replaced after a failure.
#include "base/messages.h"
#include "base/read_file.h"
#include "base/sanitizer_build.h"
#include "imaging/hostile_pictures.h"
#include "imaging/svg.h"
#include "imaging/svg_renderer_process.h"
#include "imaging/tool_pictures.h"
#include "support/scoped_environment.h"
#include "support/temp_folder.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>
#include <vector>

namespace kelmor {
namespace {

using test::errorOf;
using Clock = std::chrono::steady_clock;

std::string svgOfSize(int width, int height) {
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(width) +
           "\" height=\"" + std::to_string(height) +
           "\"><circle cx=\"5\" cy=\"5\" r=\"4\" fill=\"teal\" fill-opacity=\"0.5\"/></svg>";
}

TEST(SvgRendererProcess, AnswersAsTheDrawingCodeDoes) {
    const std::string data = std::string(KELMOR_TEST_DATA) + "/svg/";
    const std::vector<std::string> documents = {readWholeFile(data + "shapes.svg"),
                                                readWholeFile(data + "effects.svg"),
                                                svgOfSize(300, 7),
                                                "<svg xmlns=\"http://www.w3.org/2000/svg\"/>",
                                                "<svg width=\"10\" height=\"10\"><rect",
                                                "",
                                                test::claimingSvg(100000, 100000),
                                                test::claimingSvg(40000, 2)};
    for (const std::string& document : documents) {
        SCOPED_TRACE(document.substr(0, 80));
        const std::string expected = errorOf([&] { renderSvg(document); });
        EXPECT_EQ(errorOf([&] { renderSvgApart(document, "f.svg"); }), expected);
        EXPECT_EQ(errorOf([&] { measureSvgApart(document, "f.svg"); }),
                  errorOf([&] { measureSvg(document); }));
        if (expected != "(no error)")
            continue;
        EXPECT_EQ(renderSvgApart(document, "f.svg"), renderSvg(document));
        EXPECT_EQ(measureSvgApart(document, "f.svg").pixels, measureSvg(document).pixels);
        PictureSize apart, here;
        EXPECT_EQ(renderSvgFittedApart(document, "f.svg", 16, &apart),
                  renderSvgFitted(document, 16, &here));
        EXPECT_EQ(apart.width, here.width);
        EXPECT_EQ(apart.height, here.height);
    }
    EXPECT_EQ(errorOf([] {
                  renderSvgApart(svgOfSize(20, 10), "f.svg", {199, 199});
              }),
              msg::kImageTooLarge);
    EXPECT_EQ(renderSvgApart(svgOfSize(20, 10), "f.svg", {200, 200}).width, 20);
}

struct HostileDocument {
    const char* name;
    std::string document;
    std::string error;
    bool needsAddressLimit = false;
};

class SvgRendererFailure : public ::testing::TestWithParam<HostileDocument> {};

// A crash or a limit of the renderer fails that document in bounded time; the next one draws.
TEST_P(SvgRendererFailure, FailsTheDocumentAndTheNextOneDraws) {
#ifdef KELMOR_SANITIZER_SHADOW
    if (GetParam().needsAddressLimit)
        GTEST_SKIP() << "no address space limit under the sanitizers";
#endif
    const auto start = Clock::now();
    EXPECT_EQ(errorOf([] { renderSvgApart(GetParam().document, "hostile.svg"); }),
              GetParam().error);
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(12));
    EXPECT_EQ(renderSvgApart(svgOfSize(20, 10), "next.svg").width, 20);
}

const std::string kNotValid = format(msg::kSvgNotValid, "hostile.svg");

INSTANTIATE_TEST_SUITE_P(
    Documents, SvgRendererFailure,
    ::testing::Values(HostileDocument{"Crash", test::hugeFontSvg(), kNotValid},
                      HostileDocument{"CpuTime", test::selfMarkingPathSvg(20000), kNotValid},
                      HostileDocument{"Memory", test::blurredSquareSvg(8192), msg::kImageTooLarge,
                                      true}),
    [](const auto& hostile) { return std::string(hostile.param.name); });

TEST(SvgRendererProcess, ThreadsDrawAtOnceEachItsOwnDocument) {
    std::atomic<int> wrong = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 6; ++t) {
        threads.emplace_back([t, &wrong] {
            for (int i = 0; i < 5; ++i) {
                const int width = 10 + 7 * t + i;
                try {
                    if (renderSvgApart(svgOfSize(width, 3), "t.svg").width != width)
                        ++wrong;
                } catch (const Error&) {
                    ++wrong;
                }
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(wrong, 0);
}

// A renderer that cannot start, answers nonsense or never answers fails the document, never the
// caller; the renderer of the build draws again afterwards.
class SvgRendererProgram : public test::TempFolderTest {};

TEST_F(SvgRendererProgram, ThatIsNoRendererFailsTheDocument) {
    const std::string document = svgOfSize(20, 10);
    const std::string silent = writeFile("silent.sh", "#!/bin/sh\nexec sleep 60\n");
    std::filesystem::permissions(silent, std::filesystem::perms::owner_all);
    const std::string missing = format(msg::kSvgRendererMissing, path("none"));
    const std::string notValid = format(msg::kSvgNotValid, "f.svg");
    for (const auto& [program, error] :
         {std::pair{path("none"), missing}, std::pair{std::string("/bin/cat"), notValid},
          std::pair{silent, notValid}}) {
        SCOPED_TRACE(program);
        const test::ScopedEnvironment chosen("KELMOR_SVG_RENDERER", program);
        const auto start = Clock::now();
        EXPECT_EQ(errorOf([&] { renderSvgApart(document, "f.svg"); }), error);
        EXPECT_LT(Clock::now() - start, std::chrono::seconds(15));
    }
    EXPECT_EQ(renderSvgApart(document, "f.svg").width, 20);
}

} // namespace
} // namespace kelmor
