#pragma once
#include <QString>

// Texts shared by both cards.
namespace messages {

inline const QString kArchiveAccess =
    QStringLiteral("Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\r"
                   "Accertarsi di possedere i privilegi di scrittura nella cartella di installazione del programma.");
inline const QString kEmptyArchive = QStringLiteral("L'archivio non contiene nessuna scheda.");
inline const QString kDuplicateUnsaved = QStringLiteral(
    "Attenzione: la duplicazione di una scheda può avvenire soltanto dopo che questa è stata inserita in archivio.");
inline const QString kDuplicated =
    QStringLiteral("E' ora possibile apportare le proprie modifiche alla scheda corrente.\n\r\n\r"
                   "Al termine premere Salva per inserire la scheda in archivio.");
inline const QString kInserted = QStringLiteral("La scheda corrente \u00E8 stata inserita in archivio.");
inline const QString kSavedChanges =
    QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in archivio.");
inline const QString kReady = QStringLiteral("Pronto per archiviare una nuova scheda...");

} // namespace messages

// The maker's addresses, kept in one place.
namespace maker {
inline const QString kWeb = QStringLiteral("https://www.brevanto.example");
inline const QString kMail = QStringLiteral("assistenza@brevanto.example");
inline const QString kCopyright = QStringLiteral("\u00A9 2026 Brevanto - software per laboratori di restauro");
} // namespace maker
