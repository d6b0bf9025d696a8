#include "CommandLine.h"

#include "JournalCommands.h"
#include "ProgramVersion.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>
#include <cstring>

CommandLine ReadCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Tolmar zmienia ukryte ustawienia systemu Windows 98 w prefiksie Wine."));
    const QCommandLineOption machine(
        QStringLiteral("machine"),
        QStringLiteral("Maszyna, na której program pracuje: folder prefiksu Wine. Bez tej opcji "
                       "zmienna TOLMAR_MACHINE, potem WINEPREFIX, a w końcu maszyna domyślna."),
        QStringLiteral("folder"));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Wyświetla tę pomoc."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Wyświetla wersję programu."));
    const QCommandLineOption listRuns(
        QStringLiteral("list-runs"),
        QStringLiteral("Wypisuje przebiegi programu zapisane w dzienniku zmian maszyny."));
    const QCommandLineOption exportChanges(
        QStringLiteral("export-changes"),
        QStringLiteral("Zapisuje zmiany rejestru z przebiegu (bez --run z ostatniego) jako plik "
                       "REGEDIT4 do zaimportowania programem regedit."),
        QStringLiteral("plik"));
    const QCommandLineOption run(
        QStringLiteral("run"),
        QStringLiteral("Przebieg, którego zmiany zapisuje --export-changes."),
        QStringLiteral("numer"));
    const QCommandLineOption undo(
        QStringLiteral("undo"),
        QStringLiteral("Cofa zmiany z ostatniego przebiegu programu; to, co ktoś zmienił potem, "
                       "zostaje i jest wymienione."));
    parser.addOptions({machine, help, version, listRuns, exportChanges, run, undo});

    CommandLine command;
    if (!parser.parse(arguments)) {
        command.answer = CommandLine::Answer::Mistake;
        command.text = parser.errorText();
    } else if (!parser.positionalArguments().isEmpty()) {
        command.answer = CommandLine::Answer::Mistake;
        command.text = QStringLiteral("Program nie przyjmuje argumentu „%1”.")
                           .arg(parser.positionalArguments().constFirst());
    } else if (parser.isSet(help)) {
        command.answer = CommandLine::Answer::Help;
        command.text = parser.helpText();
    } else if (parser.isSet(version)) {
        command.answer = CommandLine::Answer::Version;
        command.text = kVersion + u'\n' + kShortVersion + u'\n';
    } else if (parser.isSet(machine) && parser.value(machine).isEmpty()) {
        command.answer = CommandLine::Answer::Mistake;
        command.text = QStringLiteral("Opcja --machine wymaga nazwy folderu.");
    } else if (int(parser.isSet(listRuns)) + int(parser.isSet(exportChanges)) +
                   int(parser.isSet(undo)) >
               1) {
        command.answer = CommandLine::Answer::Mistake;
        command.text =
            QStringLiteral("Opcji --list-runs, --export-changes i --undo nie można łączyć.");
    } else if (parser.isSet(exportChanges) && parser.value(exportChanges).isEmpty()) {
        command.answer = CommandLine::Answer::Mistake;
        command.text = QStringLiteral("Opcja --export-changes wymaga nazwy pliku.");
    } else if (parser.isSet(run) && !parser.isSet(exportChanges)) {
        command.answer = CommandLine::Answer::Mistake;
        command.text = QStringLiteral("Opcja --run działa tylko z --export-changes.");
    } else if (parser.isSet(run) && parser.value(run).toLongLong() <= 0) {
        command.answer = CommandLine::Answer::Mistake;
        command.text =
            QStringLiteral("Numer przebiegu to liczba od 1, a nie „%1”.").arg(parser.value(run));
    } else {
        command.machine = parser.value(machine);
        if (parser.isSet(listRuns)) command.answer = CommandLine::Answer::ListRuns;
        if (parser.isSet(exportChanges)) command.answer = CommandLine::Answer::ExportChanges;
        if (parser.isSet(undo)) command.answer = CommandLine::Answer::Undo;
        command.exportFile = parser.value(exportChanges);
        command.run = parser.value(run).toLongLong();
    }
    if (command.answer == CommandLine::Answer::Mistake)
        command.text = QStringLiteral("tolmar: ") + command.text +
                       QStringLiteral("\nWięcej w: tolmar --help\n");
    return command;
}

int AnswerOnConsole(int argc, char* argv[])
{
    QCoreApplication console(argc, argv);
    PolishCommandLineTexts texts;
    QCoreApplication::installTranslator(&texts);
    const CommandLine command = ReadCommandLine(QCoreApplication::arguments());
    if (command.answer == CommandLine::Answer::ListRuns ||
        command.answer == CommandLine::Answer::ExportChanges ||
        command.answer == CommandLine::Answer::Undo) {
        const ConsoleAnswer answer = AnswerFromJournal(command);
        std::fputs(answer.out.toLocal8Bit().constData(), stdout);
        std::fputs(answer.error.toLocal8Bit().constData(), stderr);
        return answer.status;
    }
    const bool mistake = command.answer == CommandLine::Answer::Mistake;
    std::fputs(command.text.toLocal8Bit().constData(), mistake ? stderr : stdout);
    return mistake ? 1 : 0;
}

QString PolishCommandLineTexts::translate(const char* context, const char* sourceText, const char*,
                                          int) const
{
    if (std::strcmp(context, "QCommandLineParser") != 0) return {};
    static const struct
    {
        const char* english;
        const char* polish;
    } kTexts[] = {
        {"Usage: %1", "Użycie: %1"},
        {"[options]", "[opcje]"},
        {"Options:", "Opcje:"},
        {"Arguments:", "Argumenty:"},
        {"Unknown option '%1'.", "Nieznana opcja „%1”."},
        {"Unknown options: %1.", "Nieznane opcje: %1."},
        {"Missing value after '%1'.", "Brak wartości po „%1”."},
        {"Unexpected value after '%1'.", "Nieoczekiwana wartość po „%1”."},
    };
    for (const auto& text : kTexts)
        if (std::strcmp(sourceText, text.english) == 0) return QString::fromUtf8(text.polish);
    return {};
}
