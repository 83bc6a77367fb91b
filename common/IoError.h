#pragma once
#include <QString>
#include <stdexcept>

// The one exception type of archive and file operations: carries the cause.
class IoError : public std::runtime_error {
public:
    explicit IoError(const QString& cause) : std::runtime_error(cause.toStdString()) {}
    QString cause() const { return QString::fromStdString(what()); }
};
