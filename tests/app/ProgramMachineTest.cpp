// Starting on a machine: made on first use, refused with a clear message when it cannot be used.
#include "ProgramMachine.h"

#include "ScriptedDialogs.h"
#include "TempMachine.h"
#include "Termination.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <csignal>
#include <gtest/gtest.h>

TEST(ProgramMachine, AMissingMachineIsMadeFromTheTemplate)
{
    ScriptedDialogs dialogs;
    QTemporaryDir home;
    const QString prefix = home.path() + QStringLiteral("/tolmar/machine");
    const auto machine = OpenProgramMachine({prefix, true}, QStringLiteral(TOLMAR_TEMPLATE));
    ASSERT_NE(machine, nullptr);
    EXPECT_TRUE(QFileInfo::exists(prefix + QStringLiteral("/system.reg")));
    EXPECT_TRUE(dialogs.Messages().empty());
}

TEST(ProgramMachine, AMachineInUseIsRefusedWithItsFolderAndNothingIsWritten)
{
    ScriptedDialogs dialogs;
    TempMachine held;
    held.WriteHive(QStringLiteral("user.reg"), QByteArray());
    const QByteArray before = held.ReadFile(QStringLiteral("user.reg"));
    held.Open();
    dialogs.ExpectMessage(MessageAnswer::Ok);
    EXPECT_EQ(OpenProgramMachine({held.Prefix(), true}, QStringLiteral(TOLMAR_TEMPLATE)), nullptr);
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    const auto& shown = dialogs.Messages()[0];
    EXPECT_EQ(shown.caption, QStringLiteral("Tolmar - Quorvix"));
    EXPECT_EQ(shown.icon, MessageIcon::Error);
    EXPECT_TRUE(shown.text.startsWith(QStringLiteral("Nie można uruchomić programu Tolmar.")));
    EXPECT_TRUE(shown.text.contains(held.Prefix()));
    EXPECT_TRUE(shown.text.contains(QStringLiteral("innym programie Tolmar")));
    held.Close();
    EXPECT_EQ(held.ReadFile(QStringLiteral("user.reg")), before);
}

TEST(ProgramMachine, AnUnreadableRegistryIsRefused)
{
    ScriptedDialogs dialogs;
    TempMachine broken;
    broken.WriteFile(QStringLiteral("user.reg"), "not a registry\n");
    dialogs.ExpectMessage(MessageAnswer::Ok);
    EXPECT_EQ(OpenProgramMachine({broken.Prefix(), true}, QStringLiteral(TOLMAR_TEMPLATE)),
              nullptr);
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_TRUE(dialogs.Messages()[0].text.contains(QStringLiteral("user.reg")));
    EXPECT_EQ(broken.ReadFile(QStringLiteral("user.reg")), "not a registry\n");
}

TEST(ProgramMachine, AWrongMachineFolderIsRefusedNamingItAndNothingIsMade)
{
    ScriptedDialogs dialogs;
    QTemporaryDir home;
    const QString named = home.path() + QStringLiteral("/literowka");
    dialogs.ExpectMessage(MessageAnswer::Ok);
    EXPECT_EQ(OpenProgramMachine({named, false}, QStringLiteral(TOLMAR_TEMPLATE)), nullptr);
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].text,
              QStringLiteral("Nie można uruchomić programu Tolmar.\n\nFolder maszyny „%1” nie "
                             "istnieje.")
                  .arg(named));
    EXPECT_FALSE(QFileInfo::exists(named));
}

// Once the program is asked to end, nobody is there to click a box: a problem met on the way out
// (a registry file someone else changed meanwhile) is said on the console instead.
TEST(ProgramMachine, AfterATerminationRequestAProblemIsPrintedNotShown)
{
    ScriptedDialogs dialogs;
    TempMachine m;
    m.WriteHive(QStringLiteral("system.reg"), QByteArray());
    m.WriteHive(QStringLiteral("user.reg"), QByteArray());
    QObject program;
    OnTerminationRequest(&program, [] {});
    auto machine = OpenProgramMachine({m.Prefix(), false}, QStringLiteral(TOLMAR_TEMPLATE));
    ASSERT_NE(machine, nullptr);
    std::raise(SIGTERM);
    QCoreApplication::processEvents();
    m.WriteHive(QStringLiteral("user.reg"), "\n[Foreign] 1796737660\n");
    ASSERT_TRUE(machine->RegCreateKey(HKEY_CURRENT_USER, QStringLiteral("Software\\Tolmar")));
    testing::internal::CaptureStderr();
    machine.reset();
    const QString printed = QString::fromStdString(testing::internal::GetCapturedStderr());
    EXPECT_TRUE(dialogs.Messages().empty());
    EXPECT_TRUE(printed.contains(QStringLiteral("odczytał go ponownie"))) << qPrintable(printed);
}
