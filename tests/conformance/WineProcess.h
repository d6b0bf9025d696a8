#pragma once

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// Wine started on a prefix of a test's own, quietly and without a display, in a given locale
// (Wine takes its ANSI code page from it, not from the prefix).
inline QProcessEnvironment WineEnvironment(const QString& prefix, const QString& locale)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("WINEPREFIX"), prefix);
    env.insert(QStringLiteral("WINEDEBUG"), QStringLiteral("-all"));
    // No Mono or Gecko installers: the tests run console programs.
    env.insert(QStringLiteral("WINEDLLOVERRIDES"), QStringLiteral("mscoree,mshtml="));
    env.insert(QStringLiteral("LANG"), locale);
    env.insert(QStringLiteral("LC_ALL"), locale);
    env.remove(QStringLiteral("DISPLAY"));
    return env;
}

// Runs a program to its end: empty when it ended well, else what went wrong, for the test's
// failure message.
inline QString RunProcess(const QString& program, const QStringList& arguments,
                          const QProcessEnvironment& env, QByteArray* output = nullptr)
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, arguments);
    if (!p.waitForFinished(300000)) return program + QStringLiteral(" did not finish");
    if (output) *output = p.readAllStandardOutput();
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return QStringLiteral("%1 %2 failed (%3): %4")
            .arg(program, arguments.join(u' '), QString::number(p.exitCode()),
                 QString::fromLocal8Bit(p.readAllStandardError()));
    return {};
}
