// The OEM information page's share of the start with a large OEMINFO.INI: every numbered
// support line read and shown in the page's text box.
#include "Machine.h"
#include "kodFrInfo.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// Argument: the number of support lines.
void BM_InfoPageStart(benchmark::State& state)
{
    const int lines = int(state.range(0));
    QTemporaryDir dir;
    const QString system = dir.path() + QStringLiteral("/drive_c/windows/system");
    QDir().mkpath(system);
    QByteArray file = "[General]\r\nManufacturer=Firma\r\n[Support Information]\r\n";
    for (int n = 1; n <= lines; ++n)
        file += "Line" + QByteArray::number(n) + "=Pomoc techniczna, wiersz " +
                QByteArray::number(n) + "\r\n";
    QFile f(system + QStringLiteral("/OEMINFO.INI"));
    if (!f.open(QIODevice::WriteOnly) || f.write(file) != file.size())
        state.SkipWithError("the file cannot be written");
    f.close();
    Machine machine(dir.path());
    SetCurrentPlatform(&machine);
    for (auto _ : state) {
        TfrInfo page;
        page.LoadState();
        if (page.InfoDodatkowe->blockCount() != lines) state.SkipWithError("lines are missing");
    }
    SetCurrentPlatform(nullptr);
    state.counters["file_MB"] = double(file.size()) / 1e6;
    state.counters["per_line"] =
        benchmark::Counter(double(state.iterations()) * lines,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

} // namespace

BENCHMARK(BM_InfoPageStart)->Arg(2'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
