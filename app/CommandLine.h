#pragma once

#include <QString>
#include <QStringList>
#include <QTranslator>

// What the command line `tolmar [--machine FOLDER] [--help] [--version] [--list-runs]
// [--export-changes FILE [--run N]] [--undo]` asks of a run.
struct CommandLine
{
    enum class Answer
    {
        Run,
        Help,
        Version,
        Mistake,
        ListRuns,
        ExportChanges,
        Undo
    };
    Answer answer = Answer::Run;
    QString machine;    // the folder after --machine; empty when not given
    QString text;       // what is printed for help, the version or a mistake
    QString exportFile; // the file after --export-changes
    qint64 run = 0;     // the run after --run; 0 for the last one
};

// Reads the arguments, the program's name first. The parser's own texts are Polish while
// `PolishCommandLineTexts` is installed.
CommandLine ReadCommandLine(const QStringList& arguments);

// Help, the version, a mistake and the commands on the change journal are answered on the
// console by a console application of their own, so they need no display: help and the version
// on standard output with exit code 0, a mistake on standard error with exit code 1, the
// journal's commands as AnswerFromJournal says.
int AnswerOnConsole(int argc, char* argv[]);

// The texts of Qt's command-line parser in Polish, as the rest of the program speaks.
class PolishCommandLineTexts : public QTranslator
{
public:
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* sourceText, const char* disambiguation,
                      int n) const override;
};
