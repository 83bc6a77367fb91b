// Checks the built user manual Guida.pdf against the pictures the screenshot generator took
// for it: every picture embedded, every screen's caption in the text, a cover with the
// version, a table of contents and bookmarks that agree with the numbered pages, and a
// picture in every chapter. The PDF is read with poppler's tools.
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

namespace {
const QString kGuida = QStringLiteral(GUIDA);
const QString kPictures = QStringLiteral(IMMAGINI);
const QString kChapters = QStringLiteral(MANUALE);

// The manual's chapters as written.
QString chapterSource(const QString& name)
{
    QFile f(kChapters + u'/' + name);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll());
}

QStringList chapterFiles()
{
    return QDir(kChapters).entryList({QStringLiteral("[0-9]*.adoc")}, QDir::Files, QDir::Name);
}

struct Entry {
    QString file;
    QString screen;
    QString caption;
};

// A chapter as the bookmarks give it: its title and its first page (1-based, physical).
struct Chapter {
    QString title;
    int page;
};

// Screens and pictures the manual must show.
struct Expected {
    const char* screen; // objectName, or empty
    const char* file; // picture name, or empty
};
const Expected kExpected[] = {
    {"frmPassword", ""},
    {"frmCambiaPassword", ""},
    {"frmAvvio", ""},
    {"frmGuida", ""},
    {"frmInfo", ""},
    {"frmSplash", ""},
    {"frmOpere", ""},
    {"frmZoom", ""},
    {"frmOpere_Disponibili", ""},
    {"frmTrovaOpere", ""},
    {"frmStampaOpera", ""},
    {"frmExpOpere", ""},
    {"frmAllegaCartella", ""},
    {"frmCodFisc", ""},
    {"frmPartitaIva", ""},
    {"frmInterventi", ""},
    {"frmNumerazione", ""},
    {"frmLogo", ""},
    {"frmCalendario", ""},
    {"frmWebCam", ""},
    {"frmTrovaInterventi", ""},
    {"frmDaSaldare", ""},
    {"frmStampaScheda", ""},
    {"frmAnteprimaScheda", ""},
    {"frmAnteprima", ""},
    {"", "relazione_pagina1"},
    {"", "relazione_testi_completi"},
    {"", "scheda_opera_pagina"},
    {"frmCronologia", ""},
    {"frmDocumentazione", ""},
    {"", "relazione_documentazione"},
    {"", "backup"},
};

QString run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The text as the reader reads it: typographic apostrophes as typed ones, one space
// wherever lines break.
QString plain(QString text)
{
    return text.replace(QChar(0x2019), u'\'').simplified();
}

QByteArray pixels(const QImage& image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(QByteArray::number(rgb.width()) + 'x' + QByteArray::number(rgb.height()));
    for (int y = 0; y < rgb.height(); ++y)
        hash.addData(QByteArrayView(reinterpret_cast<const char*>(rgb.constScanLine(y)), rgb.width() * 4));
    return hash.result();
}
} // namespace

class TestManual : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void everyScreenPictured();
    void picture_data();
    void picture();
    void cover();
    void contentsAndBookmarks();
    void numberedPages();
    void pictureInEveryChapter();
    void commandLinesAndNamesWhole();
    void noChapterEndsInALoneLine();
    void folderTableNamesEveryFile();
    void questionsQuotedWhole();

private:
    QString pageText(int page) const;
    QList<Entry> entries_;
    QString text_;
    int pages_ = 0;
    QSet<QByteArray> embedded_;
    QList<int> picturePages_;
    QList<Chapter> chapters_;
    int contentsPage_ = 0;
    int bodyPage_ = 0; // the first page numbered 1
};

void TestManual::initTestCase()
{
    QFile list(kPictures + QStringLiteral("/immagini.txt"));
    QVERIFY2(list.open(QIODevice::ReadOnly), qPrintable(list.fileName()));
    for (const QString& line : QString::fromUtf8(list.readAll()).split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList f = line.split(u'\t');
        QCOMPARE(f.size(), 3);
        entries_.append({f[0], f[1], f[2]});
    }
    QVERIFY(QFileInfo(kGuida).size() > 0);
    const QString info = run(QStringLiteral("pdfinfo"), {kGuida});
    pages_ = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info).captured(1).toInt();
    text_ = plain(run(QStringLiteral("pdftotext"), {kGuida, QStringLiteral("-")}));
    QVERIFY(!text_.isEmpty());

    // Every embedded image, decoded, by the hash of its pixels; and the pages that hold one.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QProcess::execute(QStringLiteral("pdfimages"),
                              {QStringLiteral("-png"), kGuida, dir.filePath(QStringLiteral("i"))})
            == 0);
    for (const QFileInfo& f : QDir(dir.path()).entryInfoList({QStringLiteral("*.png")}))
        embedded_.insert(pixels(QImage(f.filePath())));
    for (const QString& line : run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), kGuida}).split(u'\n')) {
        const QStringList f = line.split(u' ', Qt::SkipEmptyParts);
        if (f.size() > 2 && f[2] == QStringLiteral("image"))
            picturePages_.append(f[0].toInt());
    }

    // The bookmarks: the chapters ("Capitolo N. ..."), the contents and the first numbered page.
    QXmlStreamReader xml(run(QStringLiteral("pdftohtml"), {QStringLiteral("-xml"), QStringLiteral("-i"),
                                                           QStringLiteral("-q"), QStringLiteral("-stdout"), kGuida}));
    int depth = 0;
    bool first = true;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QStringLiteral("outline"))
            ++depth;
        else if (xml.isEndElement() && xml.name() == QStringLiteral("outline"))
            --depth;
        else if (xml.isStartElement() && xml.name() == QStringLiteral("item") && depth == 1) {
            const int page = xml.attributes().value(QStringLiteral("page")).toInt();
            const QString title = plain(xml.readElementText());
            if (title == QStringLiteral("Indice"))
                contentsPage_ = page;
            else if (contentsPage_ > 0 && bodyPage_ == 0)
                bodyPage_ = page;
            if (title.startsWith(QStringLiteral("Capitolo ")))
                chapters_.append({title, page});
            first = false;
        }
    }
    QVERIFY2(!first, "the manual has no bookmarks");
}

QString TestManual::pageText(int page) const
{
    return plain(run(QStringLiteral("pdftotext"), {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                                                   QString::number(page), kGuida, QStringLiteral("-")}));
}

void TestManual::everyScreenPictured()
{
    QVERIFY2(entries_.size() >= 20, qPrintable(QString::number(entries_.size())));
    for (const Expected& e : kExpected) {
        const bool found = std::any_of(entries_.begin(), entries_.end(), [&](const Entry& x) {
            return (*e.screen && x.screen == QLatin1String(e.screen)) || (*e.file && x.file == QLatin1String(e.file));
        });
        const QString what = QString::fromLatin1(*e.screen ? e.screen : e.file);
        QVERIFY2(found, qPrintable(what + QStringLiteral(" has no picture")));
    }
}

void TestManual::picture_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("caption");
    for (const Entry& e : entries_)
        QTest::newRow(qPrintable(e.file)) << e.file << e.caption;
}

// The picture is embedded pixel for pixel, and the manual names the window it shows.
void TestManual::picture()
{
    QFETCH(QString, file);
    QFETCH(QString, caption);
    const QImage image(kPictures + u'/' + file + QStringLiteral(".png"));
    QVERIFY2(!image.isNull(), qPrintable(file));
    QVERIFY2(embedded_.contains(pixels(image)), qPrintable(file + QStringLiteral(".png is not in the manual")));
    if (!caption.isEmpty())
        QVERIFY2(text_.contains(plain(caption)), qPrintable(QStringLiteral("caption not in the text: ") + caption));
}

void TestManual::cover()
{
    const QString first = pageText(1);
    QVERIFY2(first.contains(QStringLiteral("Brevanto")), qPrintable(first));
    QVERIFY2(first.contains(QStringLiteral("Versione " BREVANTO_VERSION)), qPrintable(first));
    QVERIFY2(pages_ >= 30 && pages_ <= 200, qPrintable(QString::number(pages_)));
}

// The contents list each chapter with the page number its bookmark leads to.
void TestManual::contentsAndBookmarks()
{
    QVERIFY(contentsPage_ > 1);
    QVERIFY(bodyPage_ > contentsPage_);
    QVERIFY2(chapters_.size() >= 14, qPrintable(QString::number(chapters_.size())));
    QString contents;
    for (int p = contentsPage_; p < bodyPage_; ++p)
        contents += pageText(p) + u' ';
    QVERIFY(contents.contains(QStringLiteral("Indice")));
    int previous = bodyPage_;
    for (const Chapter& c : chapters_) {
        QVERIFY2(c.page >= previous, qPrintable(c.title));
        previous = c.page;
        // "Capitolo 3. L'archivio ..." is "3. L'archivio ... 8" in the contents.
        const QString entry = c.title.mid(QStringLiteral("Capitolo ").size());
        const QRegularExpression line(QRegularExpression::escape(entry) + QStringLiteral("[ .]*(\\d+)"));
        const QRegularExpressionMatch m = line.match(contents);
        QVERIFY2(m.hasMatch(), qPrintable(QStringLiteral("not in the contents: ") + entry));
        QCOMPARE(m.captured(1).toInt(), c.page - bodyPage_ + 1);
    }
}

// Every page from the first chapter on shows its number.
void TestManual::numberedPages()
{
    QVERIFY(bodyPage_ > 0);
    for (int p = bodyPage_; p <= pages_; ++p) {
        const QString number = QString::number(p - bodyPage_ + 1);
        const QStringList words = pageText(p).split(u' ');
        QVERIFY2(words.contains(number), qPrintable(QStringLiteral("page %1 does not show %2").arg(p).arg(number)));
    }
}

void TestManual::pictureInEveryChapter()
{
    QVERIFY(!chapters_.isEmpty());
    for (qsizetype i = 0; i < chapters_.size(); ++i) {
        const int from = chapters_[i].page;
        const int to = i + 1 < chapters_.size() ? chapters_[i + 1].page - 1 : pages_;
        const bool pictured =
            std::any_of(picturePages_.begin(), picturePages_.end(), [&](int p) { return p >= from && p <= to; });
        QVERIFY2(pictured, qPrintable(QStringLiteral("no picture in ") + chapters_[i].title));
    }
}

// A command line copied from the manual must work: none is broken across lines (a broken
// crontab line is two wrong lines), and neither is a file name in a table or the text.
void TestManual::commandLinesAndNamesWhole()
{
    QStringList lines;
    const QString layout = run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), kGuida, QStringLiteral("-")});
    for (const QString& line : layout.split(u'\n'))
        lines.append(line.simplified());
    QString sources;
    for (const QString& file : chapterFiles())
        sources += chapterSource(file) + u'\n';
    // The words as printed, without the punctuation around them.
    QSet<QString> printed;
    for (QString w : layout.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts)) {
        while (!w.isEmpty() && QStringView(u"\u00AB\u00BB()[],;:.'\"").contains(w.back()))
            w.chop(1);
        while (!w.isEmpty() && QStringView(u"\u00AB\u00BB()[]'\"").contains(w.front()))
            w.remove(0, 1);
        printed.insert(w);
    }
    // A printed word that is only the start of a name, and no word of the chapters: the name
    // was broken there.
    auto brokenPiece = [&](const QString& name) -> QString {
        for (const QString& w : printed) {
            if (w.size() < 6 || w.size() >= name.size() || !name.startsWith(w))
                continue;
            const QRegularExpression alone(QStringLiteral("(?<![\\w.\\-])") + QRegularExpression::escape(w)
                                           + QStringLiteral("(?![\\w\\-]|\\.\\w)"));
            if (!alone.match(sources).hasMatch())
                return w;
        }
        return {};
    };
    static const QRegularExpression code(QStringLiteral("`([^`\\s]{12,})`"));
    int checked = 0;
    for (const QString& file : chapterFiles()) {
        bool listing = false;
        for (const QString& line : chapterSource(file).split(u'\n')) {
            if (line == QStringLiteral("----")) {
                listing = !listing;
                continue;
            }
            if (listing && !line.trimmed().isEmpty()) {
                const QString wanted =
                    QString(line).replace(QStringLiteral("{revnumber}"), QStringLiteral(BREVANTO_VERSION)).simplified();
                QVERIFY2(std::any_of(lines.begin(), lines.end(), [&](const QString& l) { return l.contains(wanted); }),
                         qPrintable(file + QStringLiteral(": command line broken: ") + line));
                ++checked;
            }
            if (!listing)
                for (const QRegularExpressionMatch& m : code.globalMatch(line)) {
                    const QString name =
                        m.captured(1).replace(QStringLiteral("{revnumber}"), QStringLiteral(BREVANTO_VERSION));
                    const QString piece = brokenPiece(name);
                    QVERIFY2(piece.isEmpty(), qPrintable(file + QStringLiteral(": name broken: ") + name
                                                         + QStringLiteral(" as ") + piece));
                    ++checked;
                }
        }
    }
    QVERIFY(checked > 20);
}

// A chapter's last page is never a line or two standing alone: it holds a picture or at
// least three lines of text.
void TestManual::noChapterEndsInALoneLine()
{
    QVERIFY(!chapters_.isEmpty());
    for (qsizetype i = 0; i < chapters_.size(); ++i) {
        const int last = i + 1 < chapters_.size() ? chapters_[i + 1].page - 1 : pages_;
        if (picturePages_.contains(last))
            continue;
        QStringList body;
        const QString page = run(QStringLiteral("pdftotext"),
                                 {QStringLiteral("-layout"), QStringLiteral("-f"), QString::number(last),
                                  QStringLiteral("-l"), QString::number(last), kGuida, QStringLiteral("-")});
        for (const QString& line : page.split(u'\n'))
            if (!line.trimmed().isEmpty())
                body.append(line);
        QVERIFY2(body.size() - 2 >= 3, // without the header and the footer
                 qPrintable(QStringLiteral("%1 ends on page %2 with: %3")
                                .arg(chapters_[i].title)
                                .arg(last)
                                .arg(body.mid(1, body.size() - 2).join(u'|'))));
    }
}

// The first chapter's table of the program folder names every file and folder the program
// keeps there.
void TestManual::folderTableNamesEveryFile()
{
    const QString chapter = chapterSource(QStringLiteral("01-installazione.adoc"));
    const qsizetype from = chapter.indexOf(QStringLiteral("|==="));
    const QString table = chapter.mid(from, chapter.indexOf(QStringLiteral("|==="), from + 4) - from);
    for (const char* name :
         {"Inventario_Opere.pro", "Relazioni_Tecniche_Restauro.pro", "Inventario_Opere.cronologia",
          "Relazioni_Tecniche_Restauro.cronologia", ".cronologia.indice", "Cronologia", "Inventario", "Restauri",
          "Documentazione", "Elenco.ini", "Miniature", "Documenti_Allegati", "Backup", "Logo.bmp", "Brevanto.ini",
          "Contratti.ini", "unins000.dll", "Inventario_Opere.xls", "Guida.pdf"})
        QVERIFY2(table.contains(QLatin1String(name)), name);
}

// A question the manual quotes is quoted whole, as the program asks it.
void TestManual::questionsQuotedWhole()
{
    const QString chapter = plain(chapterSource(QStringLiteral("11-backup.adoc")));
    QVERIFY(chapter.contains(QStringLiteral("Se altre postazioni usano la stessa cartella, prima di continuare "
                                            "chiudere Brevanto su tutte.")));
}

QTEST_GUILESS_MAIN(TestManual)
#include "tst_manual.moc"
