#pragma once
#include <QByteArray>
#include <QString>

#include <memory>

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

// An INI text held in memory, under the same rules as IniFile: for settings that travel
// inside another file. Reading and changing many keys parses the text once.
class IniText {
public:
    IniText();
    // Throws IoError when bytes are not an INI text.
    explicit IniText(const QByteArray& bytes);
    ~IniText();
    IniText(const IniText&) = delete;
    IniText& operator=(const IniText&) = delete;

    QString value(const QString& section, const QString& key, const QString& defaultValue = {}) const;
    // Throws IoError when the value cannot be set.
    void setValue(const QString& section, const QString& key, const QString& value);
    // Windows-1252, CR LF line ends, at most one empty line between sections.
    QByteArray bytes() const;

private:
    struct Data;
    std::unique_ptr<Data> d_;
};
