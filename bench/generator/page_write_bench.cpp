// Writing the largest page, the sound page of ten buttons, with typical values.
#include "generator/page_writer.h"

#include <benchmark/benchmark.h>

namespace {

void PageWrite(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    std::vector<kelmor::PageButton> buttons;
    for (int k = 1; k <= count; ++k) {
        const std::string n = std::to_string(k);
        buttons.push_back({"button" + n + ".gif", "button" + n + "over.gif",
                           "https://example.org/section" + n + "/index.html", "_top",
                           "sound" + n + ".wav"});
    }
    const kelmor::PageSettings settings{"My home page", "#FFFFFF", "background.gif", "<br>"};
    for (auto _ : state) {
        std::string text = kelmor::pageText(kelmor::PageKind::Sound, buttons, settings);
        benchmark::DoNotOptimize(text.data());
    }
}

} // namespace

BENCHMARK(PageWrite)->Arg(10)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
