// Which machine a run opens, what a named folder must be, and where the program's data lies.
#include "System.h"

#include "ProgramDir.h"
#include "TempMachine.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <map>

namespace {

// Sets the named variables (a null value unsets one) and restores them afterwards.
class Environment
{
public:
    explicit Environment(std::map<const char*, const char*> values)
    {
        for (const auto& [name, value] : values) {
            saved_[name] = qgetenv(name);
            if (value)
                qputenv(name, value);
            else
                qunsetenv(name);
        }
    }
    ~Environment()
    {
        for (const auto& [name, value] : saved_)
            if (value.isNull())
                qunsetenv(name);
            else
                qputenv(name, value);
    }

private:
    std::map<const char*, QByteArray> saved_;
};

} // namespace

TEST(ChooseMachine, CommandLineThenTolmarMachineThenWinePrefixThenTheDefault)
{
    Environment both({{"TOLMAR_MACHINE", "/t/machine"},
                      {"WINEPREFIX", "/w/prefix"},
                      {"XDG_DATA_HOME", "/data"}});
    MachineChoice named = ChooseMachine(QStringLiteral("/named"));
    EXPECT_EQ(named.folder, QStringLiteral("/named"));
    EXPECT_FALSE(named.makeIfMissing);
    MachineChoice own = ChooseMachine(QString());
    EXPECT_EQ(own.folder, QStringLiteral("/t/machine"));
    EXPECT_TRUE(own.makeIfMissing);
    {
        Environment wineOnly({{"TOLMAR_MACHINE", nullptr}});
        MachineChoice wine = ChooseMachine(QString());
        EXPECT_EQ(wine.folder, QStringLiteral("/w/prefix"));
        EXPECT_FALSE(wine.makeIfMissing) << "a Wine prefix is never made by Tolmar";
        Environment none({{"WINEPREFIX", nullptr}});
        MachineChoice fallback = ChooseMachine(QString());
        EXPECT_EQ(fallback.folder, QStringLiteral("/data/tolmar/machine"));
        EXPECT_TRUE(fallback.makeIfMissing);
    }
}

TEST(OpenSystem, ANamedFolderMustAlreadyBeAMachineAndIsLeftAsItWas)
{
    TempMachine prefix; // outlives the machine opened on it
    QTemporaryDir home;
    const QString missing = home.path() + QStringLiteral("/nowhere");
    OpenedSystem opened = OpenSystem({missing, false}, QStringLiteral(TOLMAR_TEMPLATE), {});
    EXPECT_EQ(opened.platform, nullptr);
    EXPECT_EQ(opened.error, QStringLiteral("Folder maszyny „%1” nie istnieje.").arg(missing));
    EXPECT_FALSE(QFileInfo::exists(missing));

    const QString plain = home.path() + QStringLiteral("/documents");
    QDir().mkpath(plain);
    opened = OpenSystem({plain, false}, QStringLiteral(TOLMAR_TEMPLATE), {});
    EXPECT_EQ(opened.platform, nullptr);
    EXPECT_TRUE(opened.error.contains(plain)) << opened.error.toStdString();
    EXPECT_TRUE(opened.error.contains(QStringLiteral("nie jest maszyną ani prefiksem Wine")));
    EXPECT_TRUE(QDir(plain).isEmpty()) << "nothing is written into a folder that is no machine";

    prefix.WriteHive(QStringLiteral("system.reg"), QByteArray());
    prefix.WriteHive(QStringLiteral("user.reg"), QByteArray());
    opened = OpenSystem({prefix.Prefix(), false}, QStringLiteral(TOLMAR_TEMPLATE), {});
    EXPECT_NE(opened.platform, nullptr) << opened.error.toStdString();
}

TEST(ProgramDir, BesideTheExecutableInABuildAndShareTolmarWhenInstalled)
{
    QTemporaryDir root;
    const QString build = root.path() + QStringLiteral("/build/app");
    QDir().mkpath(build + QStringLiteral("/data/machine"));
    EXPECT_EQ(ProgramDirOf(build), build);

    const QString bin = root.path() + QStringLiteral("/usr/bin");
    const QString share = root.path() + QStringLiteral("/usr/share/tolmar");
    QDir().mkpath(bin);
    QDir().mkpath(share + QStringLiteral("/data/machine"));
    EXPECT_EQ(ProgramDirOf(bin), share);

    SetProgramDir(share);
    EXPECT_EQ(ProgramFile(QStringLiteral("\\DATA\\Machine")),
              share + QStringLiteral("/data/machine"));
    SetProgramDir(QString());
}
