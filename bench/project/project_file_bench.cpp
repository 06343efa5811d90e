// Reading and writing a project of 100,000 rows, beside a plain line-by-line read and write of
// the same bytes with the standard library.
#include "project/project_file.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kRows = 100000;

kelmor::StringGrid bigProject() {
    kelmor::StringGrid grid = kelmor::newButtonList();
    grid.setRowCount(kRows + 1);
    for (int row = 1; row <= kRows; ++row) {
        const std::string n = std::to_string(row);
        const std::string cells[] = {"button" + n + ".gif",
                                     "88",
                                     "31",
                                     "_top",
                                     "https://example.org/pages/page" + n + ".html",
                                     "button" + n + "over.gif",
                                     "88",
                                     "31",
                                     row % 2 ? "click.wav" : "",
                                     "background.gif",
                                     "#FFFFFF",
                                     "My home page",
                                     "/home/user/web/menu.html"};
        for (int column = 0; column < 13; ++column)
            grid.setCell(column, row, cells[column]);
    }
    return grid;
}

// The bench's files, made once and removed at exit.
struct Files {
    Files() {
        folder = fs::temp_directory_path() / ("kelmor-project-bench-" + std::to_string(::getpid()));
        fs::create_directories(folder);
        grid = bigProject();
        source = (folder / "big.kxq").string();
        kelmor::writeProjectFile(source, grid);
        std::ifstream in(source, std::ios::binary);
        for (std::string line; std::getline(in, line);)
            lines.push_back(line + '\n');
    }
    ~Files() { fs::remove_all(folder); }

    fs::path folder;
    kelmor::StringGrid grid;
    std::string source;
    std::vector<std::string> lines; // the file's lines with their line ends
};

Files& files() {
    static Files instance;
    return instance;
}

// Reads into a fresh Button list, as when a project is opened; dropping the previous grid is
// not part of reading and happens outside the timing.
void readKelmor(benchmark::State& state) {
    const auto& f = files();
    kelmor::StringGrid grid;
    for (auto _ : state) {
        state.PauseTiming();
        grid = kelmor::newButtonList();
        state.ResumeTiming();
        kelmor::readProjectFile(f.source, grid);
        benchmark::DoNotOptimize(grid.cell(0, kRows).data());
    }
}

void readBaseline(benchmark::State& state) {
    const auto& f = files();
    for (auto _ : state) {
        std::ifstream in(f.source, std::ios::binary);
        size_t bytes = 0;
        for (std::string line; std::getline(in, line);)
            bytes += line.size();
        benchmark::DoNotOptimize(bytes);
    }
}

void writeKelmor(benchmark::State& state) {
    const auto& f = files();
    const std::string target = (f.folder / "kelmor.kxq").string();
    for (auto _ : state)
        kelmor::writeProjectFile(target, f.grid);
}

void writeBaseline(benchmark::State& state) {
    const auto& f = files();
    const std::string target = (f.folder / "baseline.kxq").string();
    for (auto _ : state) {
        std::ofstream out(target, std::ios::binary | std::ios::trunc);
        for (const auto& line : f.lines)
            out << line;
    }
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    using Function = void (*)(benchmark::State&);
    const std::pair<const char*, Function> benches[] = {{"ProjectRead/kelmor", readKelmor},
                                                        {"ProjectRead/baseline", readBaseline},
                                                        {"ProjectWrite/kelmor", writeKelmor},
                                                        {"ProjectWrite/baseline", writeBaseline}};
    for (const auto& [name, function] : benches)
        benchmark::RegisterBenchmark(name, function)->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
