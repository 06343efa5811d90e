#include "app/kelmor_app.h"
#include "app/main_window.h"
#include "support/silent_services.h"
#include "ui/services.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QMainWindow>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

using kelmor::bench::SilentDialogs;
using kelmor::bench::SilentHelp;
using kelmor::bench::SilentShell;

int argc = 1;
char programName[] = "kelmor-bench";
char* argv[] = {programName, nullptr};

// Program start-up as a user meets it: the application object (platform, fonts,
// style), then the five windows, the main window shown and its events run.
void startupKelmor(benchmark::State& state) {
    QTemporaryDir config, data, work, thumbnails;
    SilentDialogs dialogs;
    SilentShell shell;
    SilentHelp help;
    kelmor::Services services{
        dialogs, shell, help, {config.path(), data.path(), work.path(), thumbnails.path()}};
    for (auto _ : state) {
        QApplication application(argc, argv);
        kelmor::KelmorApp app(services);
        app.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(app.mainWindow().isVisible());
    }
}

// The baseline: the same application object and a bare main window of the same size.
void startupBaseline(benchmark::State& state) {
    for (auto _ : state) {
        QApplication application(argc, argv);
        QMainWindow window;
        window.resize(618, 503);
        window.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(window.isVisible());
    }
}

// A reference point between the two: the bare window holding one editable drop-down
// box. Qt's first text box of a run loads the font fallbacks, which the empty
// baseline window never does; every Kelmor window has such boxes.
void startupEditableBox(benchmark::State& state) {
    for (auto _ : state) {
        QApplication application(argc, argv);
        QMainWindow window;
        window.resize(618, 503);
        auto* box = new QComboBox;
        box->setEditable(true);
        window.setCentralWidget(box);
        window.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(window.isVisible());
    }
}

} // namespace

BENCHMARK(startupKelmor)->Name("Startup/kelmor")->Unit(benchmark::kMillisecond);
BENCHMARK(startupBaseline)->Name("Startup/baseline")->Unit(benchmark::kMillisecond);
BENCHMARK(startupEditableBox)->Name("Startup/editable_box")->Unit(benchmark::kMillisecond);

int main(int count, char** arguments) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    benchmark::Initialize(&count, arguments);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
