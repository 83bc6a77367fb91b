#pragma once
#include <QString>

// A Windows private-profile INI file: sections and keys are case-insensitive, a missing
// file, section or key reads as the default, writing creates what is missing and keeps
// every other section and key. Text is Windows-1252, lines end with CR LF.
class IniFile {
public:
    explicit IniFile(QString path);

    // Throws IoError when the file exists but cannot be read.
    QString read(const QString& section, const QString& key, const QString& defaultValue = {}) const;
    // Throws IoError when the file cannot be read or written; the old file stays whole.
    void write(const QString& section, const QString& key, const QString& value);

    const QString& path() const { return path_; }

private:
    QString path_;
};
