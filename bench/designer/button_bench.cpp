// ButtonRender/10: ten buttons of the shipped "Glass" style, both states, made from their texts
// into PNG files in memory (text layout and outlines, the SVG, its rendering and the PNG writer);
// ButtonRender/Gif10 the same as GIF files, put onto white and their colours reduced,
// against ButtonRender/Librsvg10: librsvg alone drawing the same twenty SVG documents, made
// beforehand, onto cairo surfaces. The ratio of the two is printed at the end.

#include "designer/button_picture.h"
#include "designer/button_style.h"
#include "support/cpu_time_reporter.h"
#include "support/librsvg_render.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace {

const std::vector<std::string> kTexts{"Home",    "About us", "Products", "Services", "News",
                                      "Gallery", "Prices",   "Support",  "Blog",     "Contact"};

kelmor::ButtonStyle glassStyle() {
    std::string folder = (std::filesystem::temp_directory_path() / "kelmor-bench-XXXXXX").string();
    if (!::mkdtemp(folder.data()))
        std::abort();
    const std::string styles = folder + "/styles";
    kelmor::installShippedStyles(styles);
    const kelmor::ButtonStyle style = kelmor::loadStyle(styles + "/Glass.ini");
    std::filesystem::remove_all(folder);
    return style;
}

void buttonRender(benchmark::State& state, const kelmor::ButtonStyle& style,
                  kelmor::ButtonFormat format) {
    for (auto _ : state)
        benchmark::DoNotOptimize(kelmor::makeButtonMenu(style, kTexts, format));
}

void librsvgRender(benchmark::State& state, const std::vector<std::string>& documents) {
    for (auto _ : state)
        for (const std::string& svg : documents)
            kelmor::bench::renderWithLibrsvg(svg);
}

} // namespace

int main(int argc, char** argv) {
    const kelmor::ButtonStyle style = glassStyle();
    const kelmor::ButtonSize size = kelmor::menuButtonSize(style, kTexts);
    std::vector<std::string> documents;
    for (const std::string& text : kTexts)
        for (auto state : {kelmor::ButtonState::Normal, kelmor::ButtonState::MouseOver})
            documents.push_back(kelmor::buttonSvg(style, text, size, state));
    benchmark::RegisterBenchmark("ButtonRender/10", buttonRender, style, kelmor::ButtonFormat::Png)
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(5)
        ->ReportAggregatesOnly(true);
    benchmark::RegisterBenchmark("ButtonRender/Gif10", buttonRender, style,
                                 kelmor::ButtonFormat::Gif)
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(5)
        ->ReportAggregatesOnly(true);
    benchmark::RegisterBenchmark("ButtonRender/Librsvg10", librsvgRender, documents)
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(5)
        ->ReportAggregatesOnly(true);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    kelmor::bench::CpuTimeReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    const auto ours = reporter.times.find("ButtonRender/10");
    const auto librsvg = reporter.times.find("ButtonRender/Librsvg10");
    if (ours != reporter.times.end() && librsvg != reporter.times.end())
        std::printf("ButtonRender/10 takes %.2fx the CPU time of librsvg alone (medians; target: "
                    "1.3x at most)\n",
                    ours->second / librsvg->second);
    return 0;
}
