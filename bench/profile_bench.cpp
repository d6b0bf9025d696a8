// Reading a large profile file entry by entry, as the OEM information page reads its numbered
// support lines: one access object, one lookup per entry until one is missing. The cost per
// entry must not grow with the file.
#include "Machine.h"
#include "TIniFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

const QString kSupport = QStringLiteral("Support Information");

// An OEMINFO.INI of the given number of support lines, each about the given length.
QByteArray OemInfo(int lines, int length)
{
    QByteArray file = "[General]\r\nManufacturer=Firma\r\nModel=Komputer\r\n\r\n[Support "
                      "Information]\r\n";
    const QByteArray text(length, 'x');
    for (int n = 1; n <= lines; ++n)
        file += "Line" + QByteArray::number(n) + "=" + text + "\r\n";
    return file;
}

struct OemMachine
{
    QTemporaryDir dir;
    std::unique_ptr<Machine> machine;
    qint64 bytes = 0;

    OemMachine(int lines, int length)
    {
        const QString system = dir.path() + QStringLiteral("/drive_c/windows/system");
        QDir().mkpath(system);
        QFile f(system + QStringLiteral("/OEMINFO.INI"));
        const QByteArray file = OemInfo(lines, length);
        bytes = file.size();
        if (f.open(QIODevice::WriteOnly)) f.write(file);
        f.close();
        machine = std::make_unique<Machine>(dir.path());
        SetCurrentPlatform(machine.get());
    }
    ~OemMachine() { SetCurrentPlatform(nullptr); }
};

// Arguments: the number of support lines and the length of each line's text.
void BM_ReadSupportLines(benchmark::State& state)
{
    const int lines = int(state.range(0));
    OemMachine oem(lines, int(state.range(1)));
    for (auto _ : state) {
        TIniFile ini(QStringLiteral("C:\\windows\\system\\OEMINFO.INI"));
        int n = 1;
        while (const auto line = ini.Read(kSupport, QStringLiteral("Line%1").arg(n))) {
            benchmark::DoNotOptimize(*line);
            ++n;
        }
        if (n != lines + 1) state.SkipWithError("not every line was read");
    }
    state.counters["file_MB"] = double(oem.bytes) / 1e6;
    // Seconds per entry read.
    state.counters["per_entry"] =
        benchmark::Counter(double(state.iterations()) * lines,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// A few entries of a large file: what a step that reads one setting pays for the file's size.
void BM_ReadOneEntry(benchmark::State& state)
{
    OemMachine oem(int(state.range(0)), int(state.range(1)));
    for (auto _ : state) {
        TIniFile ini(QStringLiteral("C:\\windows\\system\\OEMINFO.INI"));
        benchmark::DoNotOptimize(
            ini.ReadString(QStringLiteral("General"), QStringLiteral("Manufacturer"), {}));
    }
    state.counters["file_MB"] = double(oem.bytes) / 1e6;
}

} // namespace

BENCHMARK(BM_ReadSupportLines)
    ->Args({2'000, 10})
    ->Args({10'000, 10})
    ->Args({100'000, 10})
    ->Args({100'000, 100})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadOneEntry)
    ->Args({100'000, 10})
    ->Args({100'000, 100})
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
