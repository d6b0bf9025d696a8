#include "ChangeHistory.h"

#include "Journal.h"
#include "Machine.h"

#include <QFileInfo>
#include <cerrno>
#include <cstring>

std::vector<RecordedRun> RecordedRuns(const QString& machineFolder)
{
    std::vector<RecordedRun> runs;
    for (const JournalRun& run : Journal::Read(machineFolder))
        runs.push_back({run.number, run.started, run.undoes, qsizetype(run.changes.size())});
    return runs;
}

RunExport ExportRun(const QString& machineFolder, qint64 number, const QString& hostFile)
{
    const std::vector<JournalRun> runs = Journal::Read(machineFolder);
    auto run = runs.rbegin();
    while (run != runs.rend() && number && run->number != number)
        ++run;
    if (run == runs.rend()) return {};
    // The system's own English texts, whatever the locale, as every other file error.
    const auto reason = [](int error) { return QString::fromUtf8(::strerrordesc_np(error)); };
    const QFileInfo file(hostFile);
    constexpr auto kWritable = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    if (file.isFile() && !(file.permissions() & kWritable)) return {run->number, reason(EACCES)};
    const QByteArray bytes = RegeditExport(*run);
    WriteFailure failure;
    if (!WriteFileAtomically(hostFile, bytes.constData(), std::size_t(bytes.size()), &failure))
        return {run->number, reason(failure.error)};
    return {run->number, {}};
}

RunUndo UndoLastRun(const QString& machineFolder)
{
    RunUndo undo;
    try {
        Machine machine(machineFolder);
        machine.SetProblemHandler([&](const QString& text) { undo.problems.push_back(text); });
        if (!machine.UndoLastRun(undo.leftAlone, undo.undone)) undo.undone = 0;
        machine.Flush();
    } catch (const MachineError& error) {
        undo.refusal = error.Text();
    }
    return undo;
}
