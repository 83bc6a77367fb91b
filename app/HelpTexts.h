#pragma once
#include <QList>
#include <QString>
#include <QStringList>

// The help texts: paragraphs joined by CR LF CR LF, as the help window shows them.
namespace helptexts {

struct Topic {
    QString title;
    QString resource; // name of the text under :/help
};

// Every topic, in the order of the manual.
QList<Topic> topics();
QStringList paragraphs(const QString& resource);
QString text(const QString& resource);
// The title of a topic, by its resource name.
QString titleOf(const QString& resource);

inline const QString kLauncherTitle = QStringLiteral("Uno sguardo a Brevanto");
inline const QString kArtworkTitle = QStringLiteral("App Archivio Opere");
inline const QString kReportsTitle = QStringLiteral("App Relazioni Tecniche");
inline const QString kHistoryTitle = QStringLiteral("Cronologia della scheda");
inline const QString kDocumentationTitle = QStringLiteral("Documentazione fotografica");
inline const QString kExportTitle = QStringLiteral("Esportazione archivio opere d'arte in Excel");

} // namespace helptexts
