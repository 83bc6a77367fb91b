// Writes the user manual Guida.pdf from the help texts: a title page, then one chapter
// per help topic. Usage: mkguida PATH
#include "app/HelpTexts.h"

#include <QGuiApplication>
#include <QPageLayout>
#include <QPdfWriter>
#include <QTextDocument>
#include <cstdio>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: mkguida PATH\n");
        return 2;
    }
    QString html = QStringLiteral(
        "<html><body style=\"font-family:'DejaVu Serif'; font-size:11pt; color:#1F2A36;\">"
        "<div style=\"text-align:center;\"><br><br><br><br><br><br>"
        "<p style=\"font-size:40pt; font-weight:bold; color:#1F3B5C;\">Brevanto</p>"
        "<p style=\"font-size:18pt; color:#B55A30;\">Guida all'utilizzo del software</p>"
        "<p style=\"font-size:12pt;\">Relazioni tecniche di restauro e archivio delle opere d'arte</p>"
        "</div>");
    int chapter = 0;
    for (const helptexts::Topic& t : helptexts::topics()) {
        html += QStringLiteral("<h1 style=\"page-break-before:always; font-size:20pt; color:#1F3B5C;\">%1. %2</h1>")
                    .arg(++chapter)
                    .arg(t.title.toHtmlEscaped());
        for (const QString& p : helptexts::paragraphs(t.resource))
            html += QStringLiteral("<p style=\"line-height:140%; margin-bottom:8px;\">%1</p>").arg(p.toHtmlEscaped());
    }
    html += QStringLiteral("</body></html>");

    QPdfWriter pdf(QString::fromLocal8Bit(argv[1]));
    pdf.setTitle(QStringLiteral("Brevanto - Guida all'utilizzo del software"));
    pdf.setCreator(QStringLiteral("Brevanto"));
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF(22, 20, 22, 20), QPageLayout::Millimeter);
    QTextDocument doc;
    doc.setHtml(html);
    doc.print(&pdf);
    return 0;
}
