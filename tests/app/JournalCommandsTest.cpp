// The commands on the change journal, answered from a machine's journal without opening the
// machine.
#include "JournalCommands.h"

#include "Journal.h"
#include "TempMachine.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

CommandLine Read(QStringList arguments)
{
    arguments.prepend(QStringLiteral("tolmar"));
    return ReadCommandLine(arguments);
}

ConsoleAnswer Answer(const QString& machine, QStringList arguments)
{
    return AnswerFromJournal(Read(arguments << QStringLiteral("--machine") << machine));
}

} // namespace

TEST(JournalCommands, RunsAreListedAndExportedFromTheJournalAlone)
{
    TempMachine m;
    JournalChange change;
    change.root = HKEY_CURRENT_USER;
    change.path = QStringLiteral("Software\\Tolmar");
    change.name = QStringLiteral("Pierwszy");
    change.after = JournalData{REG_DWORD, QByteArray(4, '\1')};
    ASSERT_TRUE(Journal(m.Prefix()).Append({change, change}));
    change.name = QStringLiteral("Drugi");
    ASSERT_TRUE(Journal(m.Prefix(), 1).Append({change}));

    ConsoleAnswer answer = Answer(m.Prefix(), {"--list-runs"});
    EXPECT_EQ(answer.status, 0);
    EXPECT_TRUE(QRegularExpression(
                    QString::fromUtf8("^1\\. \\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d, 2 zmiany\n"
                                      "2\\. [-0-9 :]{19}, 1 zmiana, cofnięcie przebiegu 1\n$"))
                    .match(answer.out)
                    .hasMatch())
        << answer.out.toStdString();

    const QString file = m.Host(QStringLiteral("run1.reg"));
    answer = Answer(m.Prefix(), {"--export-changes", file, "--run", "1"});
    EXPECT_EQ(answer.status, 0) << answer.error.toStdString();
    EXPECT_EQ(m.ReadFile(QStringLiteral("run1.reg")),
              "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Tolmar]\r\n"
              "\"Pierwszy\"=dword:01010101\r\n\r\n");

    answer = Answer(m.Prefix(), {"--run", "3", "--export-changes", file});
    EXPECT_EQ(answer.status, 1);
    EXPECT_EQ(answer.error,
              QStringLiteral("tolmar: Na maszynie „%1” nie ma przebiegu 3.\n").arg(m.Prefix()));
    answer = Answer(m.Prefix(), {"--export-changes", m.Host(QStringLiteral("brak/run.reg"))});
    EXPECT_EQ(answer.status, 1);
    EXPECT_TRUE(answer.error.startsWith(QStringLiteral("tolmar: Nie można zapisać pliku „%1”: ")
                                            .arg(m.Host(QStringLiteral("brak/run.reg")))))
        << answer.error.toStdString();
}
