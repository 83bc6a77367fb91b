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
inline const QString kSavedElsewhere = QStringLiteral(
    "Attenzione: un'altra postazione ha modificato questa scheda dopo che \u00E8 stata aperta. Salvando, le sue "
    "modifiche saranno sostituite (restano comunque nella cronologia). Si vuole salvare?");
inline const QString kNotSavedYet = QStringLiteral("La scheda corrente non \u00E8 ancora stata salvata in archivio.");
inline const QString kUnsavedEdits = QStringLiteral(
    "La scheda contiene modifiche non salvate, che andranno perse. Caricare comunque la versione scelta?");
inline const QString kUnsavedDocumentation = QStringLiteral(
    "La documentazione fotografica della scheda contiene modifiche non salvate, che andranno perse. Lasciare "
    "comunque la scheda?");
inline const QString kDiskFull =
    QStringLiteral("Attenzione: il disco \u00E8 pieno e la scheda non \u00E8 stata salvata: nulla \u00E8 stato "
                   "modificato.\n\nLiberare spazio sul disco della cartella del programma, poi premere di nuovo "
                   "\u00ABSalva\u00BB.");
inline const QString kRestored =
    QStringLiteral("La versione scelta \u00E8 stata caricata nella scheda: premere \u00ABSalva\u00BB per archiviarla.");
inline const QString kNoHistoryYet = QStringLiteral(
    "La scheda non ha ancora versioni nella cronologia: la sua prima versione sar\u00E0 conservata al prossimo "
    "salvataggio.");
// A build without the camera library (see reports/NoCamera.cpp).
inline const QString kNoCapture =
    QStringLiteral("L'acquisizione dalla webcam non \u00E8 disponibile in questa versione del programma: "
                   "importare le foto scattate con la fotocamera dai pulsanti delle foto della scheda.");
inline const QString kReady = QStringLiteral("Pronto per archiviare una nuova scheda...");

} // namespace messages

// The maker's addresses, kept in one place.
namespace maker {
inline const QString kWeb = QStringLiteral("https://www.brevanto.example");
inline const QString kMail = QStringLiteral("assistenza@brevanto.example");
inline const QString kCopyright = QStringLiteral("\u00A9 2026 Brevanto - software per laboratori di restauro");
} // namespace maker
