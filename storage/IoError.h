#pragma once
#include <QString>
#include <stdexcept>

// The one exception type of archive and file operations: carries the technical cause and,
// where the operation knows what the user should hear and check, an Italian text for it.
class IoError : public std::runtime_error {
public:
    explicit IoError(const QString& cause, QString userText = {})
        : std::runtime_error(cause.toStdString()), userText_(std::move(userText))
    { }
    QString cause() const { return QString::fromStdString(what()); }
    // Empty when the caller's own message says it all.
    const QString& userText() const { return userText_; }

private:
    QString userText_;
};
