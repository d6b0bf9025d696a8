#include "JournalCommands.h"

#include "ChangeHistory.h"
#include "System.h"

#include <QDateTime>
#include <QFileInfo>

namespace {

QString Changes(qsizetype count)
{
    const qsizetype tens = count % 100;
    const qsizetype ones = count % 10;
    const char* word = count == 1                                 ? "zmiana"
                       : ones >= 2 && ones <= 4 && tens / 10 != 1 ? "zmiany"
                                                                  : "zmian";
    return QString::number(count) + u' ' + QLatin1StringView(word);
}

ConsoleAnswer Failure(const QString& text)
{
    return {1, {}, QStringLiteral("tolmar: ") + text + u'\n'};
}

ConsoleAnswer ListRuns(const QString& folder)
{
    const std::vector<RecordedRun> runs = RecordedRuns(folder);
    if (runs.empty())
        return {0,
                QStringLiteral("Na maszynie „%1” Tolmar nie zapisał jeszcze żadnej zmiany.\n")
                    .arg(folder),
                {}};
    QString out;
    for (const RecordedRun& run : runs) {
        out += QStringLiteral("%1. %2, %3")
                   .arg(QString::number(run.number),
                        QDateTime::fromMSecsSinceEpoch(run.started)
                            .toLocalTime()
                            .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                        Changes(run.changes));
        if (run.undoes) out += QStringLiteral(", cofnięcie przebiegu %1").arg(run.undoes);
        out += u'\n';
    }
    return {0, out, {}};
}

ConsoleAnswer ExportChanges(const QString& folder, const QString& file, qint64 number)
{
    const QString path = QFileInfo(file).absoluteFilePath();
    const RunExport exported = ExportRun(folder, number, path);
    if (!exported.number && number)
        return Failure(QStringLiteral("Na maszynie „%1” nie ma przebiegu %2.")
                           .arg(folder, QString::number(number)));
    if (!exported.number)
        return Failure(
            QStringLiteral("Na maszynie „%1” nie ma jeszcze żadnego przebiegu.").arg(folder));
    if (!exported.failure.isEmpty())
        return Failure(
            QStringLiteral("Nie można zapisać pliku „%1”: %2.").arg(path, exported.failure));
    return {0,
            QStringLiteral("Zmiany rejestru z przebiegu %1 zapisano w pliku „%2”.\n")
                .arg(QString::number(exported.number), path),
            {}};
}

ConsoleAnswer Undo(const QString& folder)
{
    const RunUndo undo = UndoLastRun(folder);
    if (!undo.refusal.isEmpty()) return Failure(undo.refusal);
    if (!undo.undone)
        return Failure(
            QStringLiteral("Na maszynie „%1” nie ma żadnego przebiegu do cofnięcia.").arg(folder));
    QString out = QStringLiteral("Cofnięto zmiany przebiegu %1.\n").arg(undo.undone);
    if (!undo.leftAlone.empty()) {
        out += QStringLiteral("Zostawiono to, co od tamtej pory zmienił ktoś inny:\n");
        for (const QString& name : undo.leftAlone)
            out += QStringLiteral("  ") + name + u'\n';
    }
    QString problems;
    for (const QString& problem : undo.problems)
        problems += QStringLiteral("tolmar: ") + problem + u'\n';
    return {problems.isEmpty() ? 0 : 1, out, problems};
}

} // namespace

ConsoleAnswer AnswerFromJournal(const CommandLine& command)
{
    const MachineChoice machine = ChooseMachine(command.machine);
    const QString folder = QFileInfo(machine.folder).absoluteFilePath();
    // Tolmar's own machine that was never made has simply no runs yet.
    if (!machine.makeIfMissing && !QFileInfo(folder).isDir())
        return Failure(QStringLiteral("Folder maszyny „%1” nie istnieje.").arg(folder));
    if (command.answer == CommandLine::Answer::ListRuns) return ListRuns(folder);
    if (command.answer == CommandLine::Answer::Undo) return Undo(folder);
    return ExportChanges(folder, command.exportFile, command.run);
}
