// The command line: the machine it names, help and the version, and mistakes, all in Polish.
#include "CommandLine.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

namespace {

CommandLine Read(QStringList arguments)
{
    arguments.prepend(QStringLiteral("tolmar"));
    return ReadCommandLine(arguments);
}

class CommandLineTexts : public ::testing::Test
{
protected:
    CommandLineTexts() { QCoreApplication::installTranslator(&texts); }
    ~CommandLineTexts() override { QCoreApplication::removeTranslator(&texts); }
    PolishCommandLineTexts texts;
};

} // namespace

TEST(CommandLine, RunsOnTheMachineItNames)
{
    EXPECT_EQ(Read({}).answer, CommandLine::Answer::Run);
    EXPECT_TRUE(Read({}).machine.isEmpty());
    for (const QStringList& arguments :
         {QStringList{QStringLiteral("--machine"), QStringLiteral("/home/ja/.wine")},
          QStringList{QStringLiteral("--machine=/home/ja/.wine")}}) {
        const CommandLine command = Read(arguments);
        EXPECT_EQ(command.answer, CommandLine::Answer::Run);
        EXPECT_EQ(command.machine, QStringLiteral("/home/ja/.wine"));
    }
}

TEST(CommandLine, TheVersionIsWhatTheProgramWritesToItsSettings)
{
    for (const QString& option : {QStringLiteral("--version"), QStringLiteral("-v")}) {
        const CommandLine command = Read({option});
        EXPECT_EQ(command.answer, CommandLine::Answer::Version);
        EXPECT_EQ(command.text, QStringLiteral("Tolmar Quorvex\nTolmar QX\n"));
    }
}

TEST_F(CommandLineTexts, HelpIsPolishAndNamesEveryOption)
{
    const CommandLine command = Read({QStringLiteral("--help")});
    EXPECT_EQ(command.answer, CommandLine::Answer::Help);
    EXPECT_TRUE(command.text.startsWith(QStringLiteral("Użycie: "))) << command.text.toStdString();
    for (const char* part : {" [opcje]\n", "Opcje:", "--machine <folder>", "WINEPREFIX",
                             "-h, --help", "-v, --version", "Wyświetla wersję programu."})
        EXPECT_TRUE(command.text.contains(QString::fromUtf8(part))) << part;
    EXPECT_FALSE(command.text.contains(QStringLiteral("Usage")));
}

TEST_F(CommandLineTexts, MistakesAreTold)
{
    const struct
    {
        QStringList arguments;
        const char* told;
    } cases[] = {
        {{QStringLiteral("--maszyna")}, "tolmar: Nieznana opcja „maszyna”."},
        {{QStringLiteral("--machine")}, "tolmar: Brak wartości po „--machine”."},
        {{QStringLiteral("--machine=")}, "tolmar: Opcja --machine wymaga nazwy folderu."},
        {{QStringLiteral("/home/ja/.wine")},
         "tolmar: Program nie przyjmuje argumentu „/home/ja/.wine”."},
        {{QStringLiteral("--undo"), QStringLiteral("--list-runs")},
         "tolmar: Opcji --list-runs, --export-changes i --undo nie można łączyć."},
        {{QStringLiteral("--undo"), QStringLiteral("--run=2")},
         "tolmar: Opcja --run działa tylko z --export-changes."},
    };
    for (const auto& c : cases) {
        const CommandLine command = Read(c.arguments);
        EXPECT_EQ(command.answer, CommandLine::Answer::Mistake) << c.told;
        EXPECT_EQ(command.text,
                  QString::fromUtf8(c.told) + QStringLiteral("\nWięcej w: tolmar --help\n"));
    }
}
