#include "ui/file_icons.h"
#include "ui/folder_list.h"

#include <QApplication>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int kFiles = 10000;

// A folder of 10,000 pages with varied names, made once for every benchmark.
const QTemporaryDir& pagesFolder() {
    static const QTemporaryDir folder = [] {
        QTemporaryDir made;
        for (int i = 0; i < kFiles; ++i) {
            // Scrambled numbers so the folder's own order is not already sorted.
            const int n = (i * 7919) % kFiles;
            QFile file(made.filePath(QStringLiteral("Page %1 of the site.html").arg(n)));
            if (!file.open(QIODevice::WriteOnly))
                qFatal("cannot create the benchmark folder");
        }
        return made;
    }();
    return folder;
}

// The Html list filled from the folder and drawn once, as the user sees it.
void folderListKelmor(benchmark::State& state) {
    const QString folder = pagesFolder().path();
    const QIcon icon = kelmor::fileIcon(kelmor::FileIcon::Html);
    QListWidget list;
    kelmor::applyListStyle(list, kelmor::ListStyle::Large);
    list.resize(300, 400);
    list.show();
    for (auto _ : state) {
        kelmor::fillFileList(list, folder, QStringLiteral("*.html"), icon);
        QApplication::processEvents();
        benchmark::DoNotOptimize(list.count());
    }
    state.counters["files"] = list.count();
}

// The baseline: reading the same folder's names with the standard library.
void folderListBaseline(benchmark::State& state) {
    const std::filesystem::path folder = pagesFolder().path().toStdString();
    size_t count = 0;
    for (auto _ : state) {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            names.push_back(entry.path().filename().string());
        count = names.size();
        benchmark::DoNotOptimize(names.data());
    }
    state.counters["files"] = static_cast<double>(count);
}

} // namespace

BENCHMARK(folderListKelmor)->Name("FolderList/kelmor")->Unit(benchmark::kMillisecond);
BENCHMARK(folderListBaseline)->Name("FolderList/baseline")->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
