#pragma once
#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

// The list inside every backup (brevanto-backup.ini, a Windows-1252 INI text like the
// program's other settings): when it was made, by which version, how many cards and reports
// it holds, and every member with its size and SHA-256.
struct Manifest {
    struct Member {
        QByteArray name; // as in the zip, the bytes of the file's name; a folder's ends with '/'
        qint64 size = 0;
        QByteArray sha256; // lower-case hexadecimal; empty for a folder
        bool operator==(const Member&) const = default;
    };

    // A card with a photographic documentation: its archive's name, its position and how many
    // photos its list names.
    struct Documented {
        QString archive;
        qint64 position = 0;
        qint64 photos = 0;
        bool operator==(const Documented&) const = default;
    };

    QDateTime date;
    QString version;
    qint64 artworks = 0;
    qint64 reports = 0;
    QList<Member> members;
    QList<Documented> documentation; // in the order the backup holds the lists

    QByteArray encode() const;
    // Throws IoError when bytes are not a manifest this program can read.
    static Manifest decode(const QByteArray& bytes);
};
