#pragma once
#include <QString>
#include <stdexcept>

// The one exception type of archive and file operations: carries the technical cause and,
// where the operation knows what the user should hear and check, an Italian text for it;
// and whether the failure was a disk without room, which the user is told as such.
class IoError : public std::runtime_error {
public:
    explicit IoError(const QString& cause, QString userText = {}, bool diskFull = false)
        : std::runtime_error(cause.toStdString()), userText_(std::move(userText)), diskFull_(diskFull)
    { }
    QString cause() const { return QString::fromStdString(what()); }
    // Empty when the caller's own message says it all.
    const QString& userText() const { return userText_; }
    bool diskFull() const { return diskFull_; }

private:
    QString userText_;
    bool diskFull_;
};
