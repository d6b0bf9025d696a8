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
