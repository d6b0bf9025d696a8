// Registry file throughput and the cost of saving a change, measured against the plain
// write + fsync + rename of the same bytes that any safe save must pay.
#include "Machine.h"
#include "TRegistry.h"
#include "WineRegistry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString FixturePath(const char* name)
{
    return QStringLiteral(TOLMAR_FIXTURES "/wine-prefix/") + QString::fromLatin1(name);
}

// About 50 MB in Wine's format with the mix a real registry has: text with escapes, numbers
// and wrapped binary data.
const QByteArray& Synthetic()
{
    static const QByteArray text = [] {
        RegistryHive hive(QStringLiteral("REGISTRY\\Machine"));
        QByteArray blob;
        for (int i = 0; i < 120; ++i)
            blob.append(char(i * 37));
        std::uint64_t stamp = 0x1dd871ab2474c98ULL;
        std::string last;
        for (int i = 0; (last = hive.Text()).size() < 50'000'000 && i < 1'000'000; i += 2000) {
            for (int k = i; k < i + 2000; ++k) {
                RegNode* key = hive.Root()
                                   .AddChild(QStringLiteral("Software"), stamp)
                                   ->AddChild(QStringLiteral("Vendor %1").arg(k / 100), stamp)
                                   ->AddChild(QStringLiteral("Key \"%1\" zażółć").arg(k), stamp);
                const QString text =
                    QStringLiteral("C:\\Program Files\\Aplikacja %1\\plik.exe").arg(k);
                key->SetValue(
                    QStringLiteral("Path"), 1,
                    QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2 + 2));
                const std::uint32_t n = k;
                key->SetValue(QStringLiteral("Count"), 4,
                              QByteArray(reinterpret_cast<const char*>(&n), 4));
                key->SetValue(QStringLiteral("Data"), 3, blob);
            }
        }
        return QByteArray::fromStdString(hive.Text());
    }();
    return text;
}

// Freeing the tree is left out: it is paid once, at exit.
void Parse(benchmark::State& state, const QByteArray& text)
{
    std::unique_ptr<RegistryHive> hive;
    for (auto _ : state) {
        hive = RegistryHive::Parse(text);
        state.PauseTiming();
        hive.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * text.size());
}

// Every key written from scratch, as on the first save after loading.
void Write(benchmark::State& state, const QByteArray& text)
{
    std::unique_ptr<RegistryHive> hive;
    for (auto _ : state) {
        state.PauseTiming();
        hive = RegistryHive::Parse(text);
        state.ResumeTiming();
        benchmark::DoNotOptimize(hive->Text());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * text.size());
}

// What a start pays for one key: the file loaded, the keys on the key's path unfolded and its
// values read, the rest left where it is.
void Find(benchmark::State& state, const QByteArray& text, const QStringList& path)
{
    const auto source = std::make_shared<TextSource>(text.toStdString());
    std::unique_ptr<RegistryHive> hive;
    for (auto _ : state) {
        hive = RegistryHive::Load(source);
        RegNode* key = &hive->Root();
        for (const QString& name : path) {
            hive->Unfold(*key);
            key = key->Child(name);
            if (!key) state.SkipWithError("the key is missing");
            if (!key) return;
        }
        hive->Open(*key);
        state.PauseTiming();
        hive.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * text.size());
}

void BM_FindInFixture(benchmark::State& state)
{
    Find(state, ReadAll(FixturePath("system.reg")),
         {QStringLiteral("Software"), QStringLiteral("Classes"), QStringLiteral("CLSID")});
}
void BM_FindInSynthetic50MB(benchmark::State& state)
{
    Find(state, Synthetic(),
         {QStringLiteral("Software"), QStringLiteral("Vendor 123"),
          QStringLiteral("Key \"12345\" zażółć")});
}
void BM_ParseFixture(benchmark::State& state) { Parse(state, ReadAll(FixturePath("system.reg"))); }
void BM_WriteFixture(benchmark::State& state) { Write(state, ReadAll(FixturePath("system.reg"))); }
void BM_ParseSynthetic50MB(benchmark::State& state) { Parse(state, Synthetic()); }
void BM_WriteSynthetic50MB(benchmark::State& state) { Write(state, Synthetic()); }

// A copy of the fixture prefix in a temporary folder.
struct PrefixCopy
{
    QTemporaryDir dir;
    PrefixCopy()
    {
        for (const char* name : {"system.reg", "user.reg", "userdef.reg"})
            QFile::copy(FixturePath(name), dir.path() + u'/' + QString::fromLatin1(name));
        QDir().mkpath(dir.path() + QStringLiteral("/drive_c/windows/system32"));
    }
};

void BM_LoadSaveFixturePrefix(benchmark::State& state)
{
    PrefixCopy prefix;
    for (auto _ : state) {
        Machine machine(prefix.dir.path());
        SetCurrentPlatform(&machine);
        TRegistry reg;
        reg.SetRootKey(HKEY_LOCAL_MACHINE);
        reg.OpenKey(QStringLiteral("Software\\Tolmar"), true);
        reg.WriteInteger(QStringLiteral("Run"), int(state.iterations()));
        reg.CloseKey();
        reg.SetRootKey(HKEY_CURRENT_USER);
        reg.OpenKey(QStringLiteral("Software\\Tolmar"), true);
        reg.WriteInteger(QStringLiteral("Run"), int(state.iterations()));
        machine.Flush();
        SetCurrentPlatform(nullptr);
    }
}

void BM_ChangeAndSaveSystemReg(benchmark::State& state)
{
    PrefixCopy prefix;
    Machine machine(prefix.dir.path());
    SetCurrentPlatform(&machine);
    int i = 0;
    for (auto _ : state) {
        TRegistry reg;
        reg.SetRootKey(HKEY_LOCAL_MACHINE);
        reg.OpenKey(QStringLiteral("Software\\Tolmar"), true);
        reg.WriteInteger(QStringLiteral("Change"), ++i);
        machine.Flush();
    }
    SetCurrentPlatform(nullptr);
}

void BM_RawWriteFsyncRenameSystemReg(benchmark::State& state)
{
    PrefixCopy prefix;
    const QByteArray bytes = ReadAll(FixturePath("system.reg"));
    const QByteArray target = QFile::encodeName(prefix.dir.path() + QStringLiteral("/system.reg"));
    const QByteArray temp = target + ".tmp";
    for (auto _ : state) {
        const int fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        benchmark::DoNotOptimize(::write(fd, bytes.constData(), bytes.size()));
        ::fsync(fd);
        ::close(fd);
        ::rename(temp.constData(), target.constData());
    }
}

} // namespace

BENCHMARK(BM_FindInFixture)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindInSynthetic50MB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseFixture)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteFixture)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseSynthetic50MB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteSynthetic50MB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadSaveFixturePrefix)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChangeAndSaveSystemReg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawWriteFsyncRenameSystemReg)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
