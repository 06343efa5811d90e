// MenuUpdate/100: kelmor-cli menu --update as the command runs it, on a site of 100 pages of
// 20 KB, each holding the markers: the menu of ten PNG buttons made by the designer (normal,
// mouse-over and current, at 1x and 2x) prepared (pictures found and measured, the sprites made),
// its files written, then put into every page with that page's own button current; every iteration
// on a fresh copy so that every page is updated and written. Against MenuUpdate/cp-r: `cp -r`
// copying the same site. Both count CPU time, user and system (cp's is the child's), because other
// programs may share the machine's cores; the wall time of both is shown as a counter (the update
// puts every page on disk before it replaces the old one, cp does not), and so is the CPU time the
// menu takes before the first page (menu_cpu_ms). The ratio of the medians is printed at the end.

#include "designer/button_picture.h"
#include "designer/button_style.h"
#include "generator/menu_builder.h"
#include "site/site_update.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr int kPages = 100;
constexpr std::size_t kPageBytes = 20 * 1024;

double seconds(const timeval& time) {
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
}

double cpuSeconds(const rusage& usage) {
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double ownCpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return cpuSeconds(usage);
}

// A page of about 20 KB with the markers near its top around an old menu.
std::string pageText(int number) {
    std::string text = "<!DOCTYPE html>\n<html>\n<head><title>Page " + std::to_string(number) +
                       "</title></head>\n<body>\n<!-- kelmor-menu menu -->\n<nav>old menu</nav>\n"
                       "<!-- /kelmor-menu -->\n";
    const std::string paragraph = "<p>Lorem ipsum dolor sit amet, consectetur adipiscing elit, sed "
                                  "do eiusmod tempor incididunt ut labore et dolore magna.</p>\n";
    while (text.size() + paragraph.size() < kPageBytes - 16)
        text += paragraph;
    return text + "</body>\n</html>\n";
}

// The page button `number` links to: page0.html at the top, pageN0.html in sectionN.
std::string buttonLink(int number) {
    return number == 0 ? "page0.html"
                       : "section" + std::to_string(number) + "/page" +
                             std::to_string(number * 10) + ".html";
}

// Ten buttons "Section 0" to "Section 9" made by the button designer in its default style, as
// PNG files of the three states at 1x and 2x in images/: section-N.png, section-N-over.png, ...
void writeButtonPictures(const fs::path& images) {
    fs::create_directories(images);
    std::vector<std::string> texts;
    for (int i = 0; i < 10; ++i)
        texts.push_back("Section " + std::to_string(i));
    const kelmor::ButtonMenu menu =
        kelmor::makeButtonMenu(kelmor::ButtonStyle{}, texts, kelmor::ButtonFormat::Png, true);
    for (const kelmor::MadeButton& button : menu.buttons)
        for (const kelmor::ButtonPicture& picture : button.pictures())
            std::ofstream(images / picture.file, std::ios::binary) << *picture.bytes;
}

// The project of the menu, typed from the site's top folder.
kelmor::MenuProject menuProject(const fs::path& folder) {
    kelmor::MenuProject project;
    project.folder = folder.string();
    project.name = "menu";
    for (int i = 0; i < 10; ++i) {
        kelmor::PageButton button;
        button.normal = "images/section-" + std::to_string(i) + ".png";
        button.mouseOver = "images/section-" + std::to_string(i) + "-over.png";
        button.link = buttonLink(i);
        project.buttons.push_back(button);
    }
    project.settings.title = "Site";
    project.settings.bgColor = "#FFFFFF";
    return project;
}

// The site, made once in a temporary folder: ten pages at its top and ten in each of nine
// section folders. Copies are made beside it.
struct Site {
    fs::path folder;
    fs::path source;

    Site() {
        std::string pattern = (fs::temp_directory_path() / "kelmor-site-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            std::abort();
        folder = pattern;
        source = folder / "site";
        for (int i = 0; i < kPages; ++i) {
            const fs::path section =
                i < 10 ? source : source / ("section" + std::to_string(i / 10));
            fs::create_directories(section);
            std::ofstream(section / ("page" + std::to_string(i) + ".html"), std::ios::binary)
                << pageText(i);
        }
        writeButtonPictures(source / "images");
    }
    ~Site() { fs::remove_all(folder); }
};

const Site& site() {
    static const Site made;
    return made;
}

// The CPU and wall seconds of one `cp -r` of the site to `copy`; negative when it failed.
struct CopyTimes {
    double cpu = -1;
    double wall = -1;
};

CopyTimes copySite(const fs::path& copy) {
    std::string source = site().source.string(), target = copy.string();
    char cp[] = "cp", recursive[] = "-r";
    char* argv[] = {cp, recursive, source.data(), target.data(), nullptr};
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    int status = 0;
    rusage usage{};
    if (::posix_spawnp(&child, "cp", nullptr, nullptr, argv, environ) != 0 ||
        ::wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0)
        return {};
    return {cpuSeconds(usage),
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count()};
}

void copyBaseline(benchmark::State& state) {
    const fs::path copy = site().folder / "copy";
    double wall = 0;
    for (auto _ : state) {
        fs::remove_all(copy);
        const CopyTimes times = copySite(copy);
        if (times.cpu < 0) {
            state.SkipWithError("cp -r failed");
            break;
        }
        state.SetIterationTime(times.cpu);
        wall += times.wall;
    }
    state.counters["wall_ms"] = benchmark::Counter(wall * 1e3, benchmark::Counter::kAvgIterations);
}

void menuUpdate(benchmark::State& state) {
    const fs::path copy = site().folder / "update";
    double wall = 0;
    double prepared = 0; // CPU seconds before the first page
    for (auto _ : state) {
        fs::remove_all(copy);
        if (copySite(copy).cpu < 0) {
            state.SkipWithError("cp -r failed");
            break;
        }
        const double cpuStart = ownCpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        const kelmor::PreparedMenu menu = kelmor::prepareMenu(menuProject(copy), {});
        kelmor::writeMenuFiles(menu);
        prepared += ownCpuSeconds() - cpuStart;
        const kelmor::MenuUpdate update{copy.string(), "menu", kelmor::menuSnippetWriter(menu)};
        const std::vector<kelmor::PageOutcome> outcomes =
            kelmor::updateSiteMenu(update, kelmor::UpdateMode::Write);
        wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(ownCpuSeconds() - cpuStart);
        for (const kelmor::PageOutcome& outcome : outcomes)
            if (outcome.status != kelmor::PageStatus::Updated) {
                state.SkipWithError("a page was not updated");
                return;
            }
    }
    state.counters["wall_ms"] = benchmark::Counter(wall * 1e3, benchmark::Counter::kAvgIterations);
    state.counters["menu_cpu_ms"] =
        benchmark::Counter(prepared * 1e3, benchmark::Counter::kAvgIterations);
}

// The console's lines, and each benchmark's median time per iteration. CpuTimeReporter keeps
// the CPU time of this process, which leaves out cp's: both benchmarks here give the CPU seconds
// they measured as their manual time, which the runs carry as their real time.
class ManualTimeReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                medians[run.run_name.function_name] = run.GetAdjustedRealTime();
    }
    std::map<std::string, double> medians;
};

} // namespace

int main(int argc, char** argv) {
    for (auto* registered : {benchmark::RegisterBenchmark("MenuUpdate/100", menuUpdate),
                             benchmark::RegisterBenchmark("MenuUpdate/cp-r", copyBaseline)})
        registered->Unit(benchmark::kMillisecond)
            ->UseManualTime()
            ->Iterations(5)
            ->Repetitions(5)
            ->ReportAggregatesOnly(true);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    ManualTimeReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    const auto ours = reporter.medians.find("MenuUpdate/100");
    const auto cp = reporter.medians.find("MenuUpdate/cp-r");
    if (ours != reporter.medians.end() && cp != reporter.medians.end() && cp->second > 0)
        std::printf("MenuUpdate/100 takes %.2fx the CPU time of cp -r copying the same site "
                    "(medians of user and system time)\n",
                    ours->second / cp->second);
    return 0;
}
