#include "app/HelpTexts.h"

#include "storage/Text.h"

#include <QFile>
#include <QRegularExpression>

static void registerHelp()
{
    Q_INIT_RESOURCE(help);
}

namespace helptexts {

QList<Topic> topics()
{
    return {{kLauncherTitle, QStringLiteral("avvio")},     {kArtworkTitle, QStringLiteral("opere")},
            {kReportsTitle, QStringLiteral("interventi")}, {kExportTitle, QStringLiteral("esporta")},
            {kHistoryTitle, QStringLiteral("cronologia")}, {kDocumentationTitle, QStringLiteral("documentazione")}};
}

QString titleOf(const QString& resource)
{
    for (const Topic& t : topics())
        if (t.resource == resource)
            return t.title;
    return {};
}

QStringList paragraphs(const QString& resource)
{
    registerHelp();
    QFile f(QStringLiteral(":/help/%1.txt").arg(resource));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    static const QRegularExpression blankLine(QStringLiteral("\\n\\s*\\n"));
    QStringList out;
    for (const QString& p : QString::fromUtf8(f.readAll()).split(blankLine)) {
        const QString t = text::trim(p);
        if (!t.isEmpty())
            out << t;
    }
    return out;
}

QString text(const QString& resource)
{
    return paragraphs(resource).join(QStringLiteral("\r\n\r\n"));
}

} // namespace helptexts
