// WebP decoding and SVG rendering, Kelmor against the libraries alone, side by side:
// WebpDecode/<case> against WebpDecodeLibwebp/<case> (WebPDecodeRGBA on the same bytes) and
// SvgRender/<case> against SvgRenderLibrsvg/<case> (the same document parsed and drawn onto a
// cairo surface of the same size). Kelmor's side adds its header checks, the RGBA picture and,
// for SVG, un-premultiplying the pixels and the trip through the renderer process (kept from one
// document to the next, as every program keeps it). The SVG figures are wall time, since the
// drawing happens in that other process, and each has the counter cpu_ms: the CPU time of the
// benchmark and of its renderer processes per document, the fair comparison on a machine that
// other work shares. SvgRenderInProcess/<case> runs the same drawing code in the benchmark's own
// process; for the start-up of a renderer, SvgRenderFreshProcess/one_pixel starts one for every
// document.

#include "imaging/svg.h"
#include "imaging/svg_renderer_process.h"
#include "imaging/webp.h"
#include "support/librsvg_render.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>
#include <webp/decode.h>
#include <webp/encode.h>

namespace {

// A smooth scene with fine noise, as a photograph; with `alpha` a soft-edged transparent hole.
std::vector<std::uint8_t> scene(int width, int height, bool alpha) {
    std::vector<std::uint8_t> rgba(std::size_t(width) * height * 4);
    std::mt19937 random(7);
    std::normal_distribution<float> noise(0.0f, 5.0f);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const float fx = float(x) / float(width), fy = float(y) / float(height);
            const float channels[4] = {
                128 + 100 * std::sin(fx * 5.1f + fy * 2.3f) * std::cos(fy * 3.7f),
                120 + 90 * std::sin(fy * 6.3f - fx * 1.1f),
                110 + 80 * std::cos((fx - 0.4f) * (fy - 0.6f) * 20.0f),
                alpha ? 255 * std::min(1.0f, std::hypot(fx - 0.5f, fy - 0.5f) * 4 - 0.6f) : 255};
            std::uint8_t* p = rgba.data() + (std::size_t(y) * width + x) * 4;
            for (int c = 0; c < 4; ++c)
                p[c] = static_cast<std::uint8_t>(
                    std::clamp(channels[c] + (c < 3 ? noise(random) : 0.0f), 0.0f, 255.0f));
        }
    }
    return rgba;
}

// Flat shapes of a few colours over transparency, as a button or an icon.
std::vector<std::uint8_t> graphic(int size) {
    std::vector<std::uint8_t> rgba(std::size_t(size) * size * 4, 0);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            std::uint8_t* p = rgba.data() + (std::size_t(y) * size + x) * 4;
            const int dx = x - size / 2, dy = y - size / 2;
            if (dx * dx + dy * dy < size * size / 5)
                p[0] = 30, p[1] = 110, p[2] = 200, p[3] = 255;
            if ((x / 24 + y / 24) % 3 == 0 && std::abs(dx) < size / 3)
                p[0] = 250, p[1] = 250, p[2] = 250, p[3] = 200;
        }
    }
    return rgba;
}

std::string encoded(const std::vector<std::uint8_t>& rgba, int width, int height, bool lossless) {
    std::uint8_t* out = nullptr;
    const std::size_t size =
        lossless ? WebPEncodeLosslessRGBA(rgba.data(), width, height, width * 4, &out)
                 : WebPEncodeRGBA(rgba.data(), width, height, width * 4, 80, &out);
    std::string bytes(reinterpret_cast<const char*>(out), size);
    WebPFree(out);
    if (bytes.empty())
        throw std::runtime_error("WebP encoding failed");
    return bytes;
}

struct WebpCase {
    const char* name;
    std::string bytes;
};

std::vector<WebpCase> webpCases() {
    return {{"photo_lossy_1024", encoded(scene(1024, 1024, false), 1024, 1024, false)},
            {"photo_lossy_alpha_800x600", encoded(scene(800, 600, true), 800, 600, false)},
            {"graphic_lossless_512", encoded(graphic(512), 512, 512, true)},
            {"photo_lossless_640x480", encoded(scene(640, 480, true), 640, 480, true)}};
}

void webpDecodeKelmor(benchmark::State& state, const std::string& bytes) {
    for (auto _ : state)
        benchmark::DoNotOptimize(kelmor::decodeWebp(bytes));
}

void webpDecodeLibwebp(benchmark::State& state, const std::string& bytes) {
    for (auto _ : state) {
        int width = 0, height = 0;
        std::uint8_t* pixels = WebPDecodeRGBA(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                              bytes.size(), &width, &height);
        benchmark::DoNotOptimize(pixels);
        WebPFree(pixels);
    }
}

// An icon of gradients and strokes, a page of many overlapping translucent curves, and a badge
// with a blurred shadow.
std::string svgIcon() {
    return R"svg(<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 64 64">
<defs><linearGradient id="g" x2="0" y2="1"><stop offset="0" stop-color="#6cf"/>
<stop offset="1" stop-color="#036" stop-opacity="0.8"/></linearGradient></defs>
<rect x="4" y="4" width="56" height="56" rx="12" fill="url(#g)" stroke="#024" stroke-width="2"/>
<path d="M20 44 L32 16 L44 44 Z" fill="#fff" fill-opacity="0.85"/>
<circle cx="32" cy="36" r="5" fill="#f80"/></svg>)svg";
}

std::string svgCurves() {
    std::mt19937 random(3);
    std::uniform_int_distribution<int> coordinate(0, 1024), colour(0, 255);
    std::string svg =
        R"svg(<svg xmlns="http://www.w3.org/2000/svg" width="1024" height="1024">)svg";
    for (int i = 0; i < 300; ++i) {
        svg += "<path d=\"M" + std::to_string(coordinate(random)) + " " +
               std::to_string(coordinate(random)) + " C";
        for (int k = 0; k < 6; ++k)
            svg += " " + std::to_string(coordinate(random));
        svg += "\" fill=\"rgb(" + std::to_string(colour(random)) + "," +
               std::to_string(colour(random)) + "," + std::to_string(colour(random)) +
               ")\" fill-opacity=\"0.4\" stroke=\"#000\" stroke-width=\"1.5\"/>";
    }
    return svg + "</svg>";
}

std::string svgBadge() {
    return R"svg(<svg xmlns="http://www.w3.org/2000/svg" width="480" height="160">
<defs><filter id="s"><feGaussianBlur stdDeviation="4"/></filter>
<radialGradient id="r"><stop offset="0" stop-color="#ffd"/><stop offset="1" stop-color="#c80"/>
</radialGradient></defs>
<rect x="24" y="28" width="432" height="112" rx="30" fill="#000" opacity="0.5" filter="url(#s)"/>
<rect x="16" y="16" width="432" height="112" rx="30" fill="url(#r)" stroke="#630" stroke-width="4"/>
<path d="M60 72 h360 M60 96 h240" stroke="#630" stroke-width="10" stroke-linecap="round"/></svg>)svg";
}

// The CPU seconds of this process, of the child processes it has waited for and of those still
// running (the renderers it keeps), from /proc.
double cpuWithChildren() {
    timespec self{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &self);
    rusage waited{};
    ::getrusage(RUSAGE_CHILDREN, &waited);
    const auto seconds = [](const timeval& t) {
        return double(t.tv_sec) + double(t.tv_usec) / 1e6;
    };
    double total = double(self.tv_sec) + double(self.tv_nsec) / 1e9 + seconds(waited.ru_utime) +
                   seconds(waited.ru_stime);
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
        std::ifstream stat(entry.path() / "stat");
        std::string line;
        if (!std::getline(stat, line) || line.rfind(')') == std::string::npos)
            continue;
        // After "pid (name)": state, parent, then ten fields before utime and stime.
        std::istringstream fields(line.substr(line.rfind(')') + 2));
        std::string state;
        long parent = 0;
        fields >> state >> parent;
        std::string skipped;
        for (int i = 0; i < 9; ++i)
            fields >> skipped;
        double user = 0, system = 0;
        if (parent == ::getpid() && fields >> user >> system)
            total += (user + system) / double(::sysconf(_SC_CLK_TCK));
    }
    return total;
}

// Runs `draw` once per iteration, with the CPU time per document as the counter cpu_ms.
template <class Draw> void measured(benchmark::State& state, Draw&& draw) {
    const double before = cpuWithChildren();
    for (auto _ : state)
        draw();
    state.counters["cpu_ms"] =
        benchmark::Counter((cpuWithChildren() - before) * 1e3, benchmark::Counter::kAvgIterations);
}

void svgRenderKelmor(benchmark::State& state, const std::string& svg) {
    measured(state, [&] { benchmark::DoNotOptimize(kelmor::renderSvgApart(svg, "bench.svg")); });
}

void svgRenderInProcess(benchmark::State& state, const std::string& svg) {
    measured(state, [&] { benchmark::DoNotOptimize(kelmor::renderSvg(svg)); });
}

// The renderer is named in two spellings by turns, so none is kept for the next document.
void svgRenderFreshProcess(benchmark::State& state, const std::string& svg) {
    const std::filesystem::path program = kelmor::svgRendererProgram();
    const std::string spellings[] = {program.string(),
                                     (program.parent_path() / "." / program.filename()).string()};
    int turn = 0;
    measured(state, [&] {
        ::setenv("KELMOR_SVG_RENDERER", spellings[turn ^= 1].c_str(), 1);
        benchmark::DoNotOptimize(kelmor::renderSvgApart(svg, "bench.svg"));
    });
    ::setenv("KELMOR_SVG_RENDERER", spellings[0].c_str(), 1);
}

void svgRenderLibrsvg(benchmark::State& state, const std::string& svg) {
    measured(state, [&] { kelmor::bench::renderWithLibrsvg(svg); });
}

void registerAll() {
    for (const WebpCase& c : webpCases()) {
        benchmark::RegisterBenchmark((std::string("WebpDecode/") + c.name).c_str(),
                                     webpDecodeKelmor, c.bytes)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((std::string("WebpDecodeLibwebp/") + c.name).c_str(),
                                     webpDecodeLibwebp, c.bytes)
            ->Unit(benchmark::kMillisecond);
    }
    const std::pair<const char*, std::string> documents[] = {
        {"icon_256", svgIcon()}, {"curves_1024", svgCurves()}, {"badge_480x160", svgBadge()}};
    using Run = void (*)(benchmark::State&, const std::string&);
    const std::pair<const char*, Run> runs[] = {{"SvgRender/", svgRenderKelmor},
                                                {"SvgRenderInProcess/", svgRenderInProcess},
                                                {"SvgRenderLibrsvg/", svgRenderLibrsvg}};
    for (const auto& [name, svg] : documents) {
        for (const auto& [prefix, run] : runs)
            benchmark::RegisterBenchmark((prefix + std::string(name)).c_str(), run, svg)
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime();
    }
    const std::string onePixel =
        R"svg(<svg xmlns="http://www.w3.org/2000/svg" width="1" height="1"/>)svg";
    const std::pair<const char*, Run> onePixelRuns[] = {
        {"SvgRender/one_pixel", svgRenderKelmor},
        {"SvgRenderInProcess/one_pixel", svgRenderInProcess},
        {"SvgRenderFreshProcess/one_pixel", svgRenderFreshProcess}};
    for (const auto& [name, run] : onePixelRuns)
        benchmark::RegisterBenchmark(name, run, onePixel)
            ->Unit(benchmark::kMicrosecond)
            ->UseRealTime();
}

} // namespace

int main(int argc, char** argv) {
    registerAll();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
