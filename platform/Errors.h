#pragma once

#include <QString>
#include <stdexcept>

// Every error of the access layer carries the system's own text, ready for the user.
class SystemError : public std::runtime_error
{
public:
    explicit SystemError(const QString& text) : std::runtime_error(text.toStdString()) {}
    QString Text() const { return QString::fromStdString(what()); }
};

class ERegistryException : public SystemError
{
public:
    using SystemError::SystemError;
};

class EIniFileException : public SystemError
{
public:
    using SystemError::SystemError;
};

// A file that cannot be created, written or read, with the run-time library's "I/O error N".
class EInOutError : public SystemError
{
public:
    explicit EInOutError(int code) : SystemError(QStringLiteral("I/O error %1").arg(code)) {}
};

// A file that could not be replaced, with the system's reason as its text; the old file stays as
// it was. Writing() tells bytes that could not be written (a full disk) from a file that could not
// be made or put in its place (no permission, a folder of that name).
class EFileWriteError : public SystemError
{
public:
    EFileWriteError(bool writing, const QString& reason) : SystemError(reason), writing_(writing) {}
    bool Writing() const { return writing_; }

private:
    bool writing_;
};
