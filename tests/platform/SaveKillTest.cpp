// A save killed at any moment leaves the old registry file or the new one, never a torn one: a
// child saves through the machine over and over and is killed with SIGKILL while it writes,
// syncs or renames.
#include "TRegistry.h"
#include "TempMachine.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <random>
#include <sched.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QString kTolmarKey = QStringLiteral("Software\\Tolmar");

// The counter the saves raise; 0 before the first.
std::uint32_t SavedCounter(const RegistryHive& hive)
{
    const RegNode* software = hive.Root().Child(u"Software");
    const RegNode* tolmar = software ? software->Child(u"Tolmar") : nullptr;
    const RegNodeValue* value = tolmar ? tolmar->Value(u"Save") : nullptr;
    if (!value || value->data.size() != 4) return 0;
    std::uint32_t n;
    std::memcpy(&n, value->data.constData(), 4);
    return n;
}

// Opens the machine and saves a raised counter in system.reg until killed; one byte on the pipe
// after each save.
[[noreturn]] void SaveForever(const QString& prefix, int progress)
{
    try {
        Machine machine(prefix);
        SetCurrentPlatform(&machine);
        TRegistry reg;
        reg.SetRootKey(HKEY_LOCAL_MACHINE);
        reg.OpenKey(kTolmarKey, true);
        for (int n = reg.ValueExists(QStringLiteral("Save"))
                         ? reg.ReadInteger(QStringLiteral("Save")) + 1
                         : 1;
             ; ++n) {
            reg.WriteInteger(QStringLiteral("Save"), n);
            machine.Flush();
            const char c = 1;
            if (::write(progress, &c, 1) != 1) break;
        }
    } catch (...) {
    }
    ::_exit(1);
}

qint64 LargestTemporaryFile(const QString& prefix)
{
    qint64 largest = -1;
    for (const QFileInfo& f :
         QDir(prefix).entryInfoList({QStringLiteral(".tolmar-*")}, QDir::Files | QDir::Hidden))
        largest = std::max(largest, f.size());
    return largest;
}

// Kills a saving child once `saves` saves are done and the next one's temporary file holds
// `share` of the file's size (above 1: once it is whole, about when it is synced and renamed).
// Waits by watching the folder, never by the clock, and gives up watching after a bounded
// number of looks.
void KillDuringSave(const QString& prefix, int saves, double share)
{
    int progress[2];
    ASSERT_EQ(::pipe(progress), 0);
    const qint64 size = QFileInfo(prefix + QStringLiteral("/system.reg")).size();
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(progress[0]);
        SaveForever(prefix, progress[1]);
    }
    ::close(progress[1]);
    char c;
    for (int i = 0; i < saves; ++i)
        ASSERT_EQ(::read(progress[0], &c, 1), 1) << "the child stopped saving";
    const qint64 wanted = std::min<qint64>(size, qint64(share * double(size)));
    for (int look = 0; look < 1'000'000 && LargestTemporaryFile(prefix) < wanted; ++look)
        ::sched_yield();
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ::close(progress[0]);
}

// The file is whole: it reads, it is what Tolmar writes, and its counter did not go back.
void ExpectWhole(const QByteArray& text, std::uint32_t& counter, std::size_t keys, int round)
{
    std::unique_ptr<RegistryHive> hive;
    ASSERT_NO_THROW(hive = RegistryHive::Parse(text)) << "torn file in round " << round;
    EXPECT_EQ(QByteArray::fromStdString(hive->Text()), text) << "torn file in round " << round;
    EXPECT_EQ(hive->Root().Children().size(), keys) << "round " << round;
    const std::uint32_t now = SavedCounter(*hive);
    EXPECT_GE(now, counter) << "round " << round;
    EXPECT_GT(now, 0u) << "round " << round;
    counter = now;
}

void ExpectNoTemporaryFilesAfterOpening(TempMachine& m)
{
    m.Open();
    EXPECT_EQ(LargestTemporaryFile(m.Prefix()), -1)
        << "temporary files of killed saves are cleared when the machine opens";
    m.Close();
}

// About `bytes` of keys in Wine's format under the root key "Bulk".
QByteArray LargeRegistry(std::size_t bytes)
{
    RegistryHive hive(QStringLiteral("REGISTRY\\Machine"));
    constexpr std::uint64_t stamp = 0x1dd871ab2474c98ULL;
    RegNode* bulk = hive.Root().AddChild(u"Bulk", stamp);
    QByteArray blob;
    for (int i = 0; i < 300; ++i)
        blob.append(char(i * 37));
    const std::size_t perKey = 1000;
    for (std::size_t k = 0; k < bytes / perKey; ++k) {
        RegNode* key = bulk->AddChild(QStringLiteral("Key %1").arg(k, 8, 10, QChar(u'0')), stamp);
        key->SetValue(QStringLiteral("Data"), REG_BINARY, blob);
    }
    return QByteArray::fromStdString(hive.Text());
}

} // namespace

TEST(MachineSave, AKilledSaveLeavesTheOldOrTheNewFile)
{
    TempMachine m;
    QFile fixture(QStringLiteral(TOLMAR_FIXTURES "/wine-prefix/system.reg"));
    ASSERT_TRUE(fixture.open(QIODevice::ReadOnly));
    const QByteArray original = fixture.readAll();
    m.WriteFile(QStringLiteral("system.reg"), original);
    const std::size_t keys = RegistryHive::Parse(original)->Root().Children().size();
    std::mt19937 random(20240607);
    std::uint32_t counter = 0;
    for (int round = 0; round < 12; ++round) {
        KillDuringSave(m.Prefix(), 1 + round % 3,
                       std::uniform_real_distribution<double>(0.0, 1.2)(random));
        ExpectWhole(m.ReadFile(QStringLiteral("system.reg")), counter, keys, round);
    }
    ExpectNoTemporaryFilesAfterOpening(m);
}

TEST(MachineSave, AKilledSaveOfA30MegabyteRegistryLeavesTheOldOrTheNewFile)
{
    TempMachine m;
    m.WriteFile(QStringLiteral("system.reg"), LargeRegistry(30'000'000));
    std::mt19937 random(7);
    std::uint32_t counter = 0;
    for (int round = 0; round < 4; ++round) {
        KillDuringSave(m.Prefix(), 1, std::uniform_real_distribution<double>(0.0, 1.2)(random));
        // The bulk key and Software.
        ExpectWhole(m.ReadFile(QStringLiteral("system.reg")), counter, 2, round);
    }
    ExpectNoTemporaryFilesAfterOpening(m);
}
