#include "PdfText.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {
QString run(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), args);
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}
} // namespace

bool popplerRuns()
{
    static const bool runs = [] {
        QProcess p;
        p.start(QStringLiteral("pdftotext"), {QStringLiteral("-v")});
        return p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    }();
    return runs;
}

PdfText PdfText::read(const QString& path)
{
    PdfText out;
    const QString bbox = run({QStringLiteral("-bbox"), path, QStringLiteral("-")});
    static const QRegularExpression pageRx(QStringLiteral("<page "));
    static const QRegularExpression wordRx(QStringLiteral(
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    const qreal mm = 25.4 / 72.0;
    int page = -1;
    for (const QString& line : bbox.split(u'\n')) {
        if (line.contains(pageRx)) {
            ++page;
            continue;
        }
        const QRegularExpressionMatch m = wordRx.match(line);
        if (m.hasMatch()) {
            QString word = m.captured(5);
            word.replace(QStringLiteral("&amp;"), QStringLiteral("&"))
                .replace(QStringLiteral("&lt;"), QStringLiteral("<"))
                .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
                .replace(QStringLiteral("&quot;"), QStringLiteral("\""))
                .replace(QStringLiteral("&apos;"), QStringLiteral("'"));
            out.words.append({page,
                              QRectF(QPointF(m.captured(1).toDouble() * mm, m.captured(2).toDouble() * mm),
                                     QPointF(m.captured(3).toDouble() * mm, m.captured(4).toDouble() * mm)),
                              word});
        }
    }
    out.pages = page + 1;
    for (int i = 1; i <= out.pages; ++i)
        out.layout << run({QStringLiteral("-layout"), QStringLiteral("-f"), QString::number(i), QStringLiteral("-l"),
                           QString::number(i), path, QStringLiteral("-")});
    return out;
}

QList<QRectF> PdfText::find(int page, const QString& word) const
{
    QList<QRectF> boxes;
    for (const PdfWord& w : words)
        if (w.page == page && w.text == word)
            boxes << w.box;
    return boxes;
}

QList<QImage> PdfText::images(const QString& path)
{
    QTemporaryDir dir;
    QProcess p;
    p.start(QStringLiteral("pdfimages"), {QStringLiteral("-png"), path, dir.filePath(QStringLiteral("img"))});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    QList<QImage> out;
    const QStringList files = QDir(dir.path()).entryList({QStringLiteral("img-*.png")}, QDir::Files, QDir::Name);
    for (const QString& f : files)
        out.append(QImage(dir.filePath(f)));
    return out;
}
