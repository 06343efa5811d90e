// Writing the largest page, the sound page of ten buttons, with typical values: the legacy
// page (PageWrite/10) and the HTML5 page (PageWrite/html5_10).
#include "generator/page_writer.h"

#include <benchmark/benchmark.h>

namespace {

void writeSoundPage(benchmark::State& state, int count, bool html5) {
    std::vector<kelmor::PageButton> buttons;
    for (int k = 1; k <= count; ++k) {
        const std::string n = std::to_string(k);
        buttons.push_back({"button" + n + ".gif", "button" + n + "over.gif",
                           "https://example.org/section" + n + "/index.html", "_top",
                           "sound" + n + ".wav", "88", "31"});
    }
    const kelmor::PageSettings settings{"My home page", "#FFFFFF", "background.gif", "<br>"};
    const kelmor::PageKind kind = kelmor::pageKindWith({true, html5});
    for (auto _ : state) {
        std::string text = kelmor::pageText(kind, buttons, settings);
        benchmark::DoNotOptimize(text.data());
    }
}

void PageWrite(benchmark::State& state) {
    writeSoundPage(state, static_cast<int>(state.range(0)), false);
}

} // namespace

BENCHMARK(PageWrite)->Arg(10)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(writeSoundPage, html5_10, 10, true)
    ->Name("PageWrite/html5_10")
    ->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
