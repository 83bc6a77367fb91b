// The photographic documentation at its largest: a report with PHOTOS photos (default 300) of
// 24 megapixels in /tmp/brevanto-documentation-bench (made once, reused on later runs).
//  - the screen: from the click to taking input, to every thumbnail made (the first time, with
//    no cache) and to every thumbnail shown once they are made; the memory the screen adds;
//  - printing 60 of them, 4 to a page, to PDF, against decoding the same 60 photos once at full
//    size, and the PDF's size;
//  - a save of the card alone, with its set left as it was, with a caption changed and with a
//    photo added, and the bytes of history each adds.
// Goals: input within 0.5 s; all thumbnails within 0.5 s once made; under +150 MB; printing
// within the decoding time; a PDF under 40 MB; a save with the set unchanged as fast as one
// without it, and one with a photo added slower only by that photo.
// Usage: documentation_bench [PHOTOS] [FOLDER]   (QT_QPA_PLATFORM=offscreen)
#include "documentation/Documentazione.h"
#include "documentation/Import.h"
#include "documentation/PhotoList.h"
#include "documentation/PhotoModel.h"
#include "documentation/WorkingSet.h"
#include "printing/PhotoPages.h"
#include "printing/Renderer.h"
#include "printing/Templates.h"
#include "records/ReportArchive.h"
#include "records/SchedaIntervento.h"
#include "storage/Crc32.h"
#include "storage/ProgramDir.h"
#include "widgets/QtUi.h"

#include <QApplication>
#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <functional>

namespace {
// The memory the process holds now (resident), in MB.
long residentMb()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? long(fields[1].toLongLong() * 4096 / (1024 * 1024)) : 0;
}

double ms(const QElapsedTimer& t)
{
    return double(t.nsecsElapsed()) / 1e6;
}

// A 6000 x 4000 photo with detail everywhere, as a camera's would have (a smooth picture
// compresses to little and decodes faster than a real one).
QByteArray cameraJpeg()
{
    QImage image(6000, 4000, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = qRgb((x / 7 + y / 5) % 256, (x * y / 97) % 256, ((x ^ y) * 3) % 256);
    }
    QPainter p(&image);
    p.setPen(QPen(Qt::white, 40));
    p.drawEllipse(QRect(1000, 600, 4000, 2800));
    p.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 90);
    return bytes;
}

// The same photo made a file of its own: a comment segment with its number after the start.
QByteArray numbered(const QByteArray& jpeg, int n)
{
    const QByteArray text = QByteArray("Foto ") + QByteArray::number(n);
    QByteArray segment("\xFF\xFE", 2);
    segment.append(char(0)).append(char(text.size() + 2)).append(text);
    return jpeg.left(2) + segment + jpeg.mid(2);
}

// The report at position 1 with count photos listed in its folder (made when missing).
void prepare(int count)
{
    ReportArchive store;
    if (store.count() == 0) {
        TSchedaIntervento r;
        r[TSchedaIntervento::NumRelazione] = QStringLiteral("2024/17");
        r[TSchedaIntervento::DataEmissione] = QStringLiteral("05/03/2024");
        store.save(r.encode(), {}, journal::What::Inserita);
    }
    const QString folder = documentation::folder(documentation::Kind::Report, 1);
    const documentation::List listed = documentation::decode([&] {
        QFile f(documentation::listPath(documentation::Kind::Report, 1));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }());
    if (listed.photos.size() == count)
        return;
    std::printf("making %d photos of 24 megapixels in %s (once)...\n", count, qPrintable(folder));
    std::fflush(stdout);
    QDir().mkpath(folder);
    const QByteArray jpeg = cameraJpeg();
    QList<documentation::Photo> photos;
    for (int i = 1; i <= count; ++i) {
        const QByteArray bytes = numbered(jpeg, i);
        documentation::Photo p;
        p.file = QStringLiteral("Foto_%1.jpg").arg(i, 3, 10, QLatin1Char('0'));
        p.phase = documentation::phases(documentation::Kind::Report).at(i * 5 / (count + 1));
        p.caption = QStringLiteral("Foto %1: saggio di pulitura sulla campitura azzurra, luce radente").arg(i);
        p.taken = QDate(2024, 3, 1).addDays(i % 28);
        p.size = bytes.size();
        p.crc = crc32(bytes);
        QFile f(folder + u'/' + p.file);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            std::exit(1);
        photos << p;
    }
    QFile list(documentation::listPath(documentation::Kind::Report, 1));
    if (!list.open(QIODevice::WriteOnly) || list.write(documentation::encode(photos)) < 0)
        std::exit(1);
}

// Opens the screen and times it: to the first input it takes, and until every thumbnail is in.
void screen(QtUi& ui, documentation::WorkingSet& set, const char* when)
{
    const long before = residentMb();
    long most = before;
    QElapsedTimer t;
    t.start();
    set.load(1);
    auto* s = new TfrmDocumentazione(ui, nullptr, set);
    s->show();
    double input = -1;
    QTimer::singleShot(0, s, [&] { input = ms(t); }); // the first event after the click's work
    while (input < 0)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    while (s->model()->thumbnailsDone() < s->model()->photoCount()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        most = std::max(most, residentMb());
    }
    const double all = ms(t);
    // Scrolled through the whole list, as a user looking for a photo would.
    for (int row = 0; row < s->model()->rowCount(); row += 8) {
        s->lstFoto->scrollTo(s->model()->index(row));
        QCoreApplication::processEvents();
    }
    most = std::max(most, residentMb());
    std::printf("screen, %s: takes input after %.0f ms; all %d thumbnails after %.0f ms; memory +%ld MB at most\n",
                when, input, s->model()->photoCount(), all, most - before);
    std::fflush(stdout);
    s->close();
    delete s;
}
} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::max(60, atoi(argv[1])) : 300;
    const QString root =
        argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("/tmp/brevanto-documentation-bench");
    QDir().mkpath(root);
    programdir::Override here(root);
    prepare(count);
    const QString folder = documentation::folder(documentation::Kind::Report, 1);
    QDir(folder + QStringLiteral("/Miniature")).removeRecursively(); // the first time: no cache

    QtUi ui;
    documentation::WorkingSet set(documentation::Kind::Report);
    screen(ui, set, "first time");
    screen(ui, set, "thumbnails made");

    // Printing 60 photos, 4 to a page, against decoding them once at full size.
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < 60; ++i) {
        QImageReader reader(set.pathOf(set.items()[i]));
        if (reader.read().isNull())
            return 1;
    }
    const double decodeMs = ms(t);
    QList<photopages::Photo> photos;
    for (int i = 0; i < 60; ++i) {
        const documentation::Item& item = set.items()[i];
        photos.append({set.pathOf(item), 0, i + 1, item.photo.phase,
                       item.photo.taken.toString(QStringLiteral("dd/MM/yyyy")), item.photo.caption});
    }
    const QString pdf = QDir(root).filePath(QStringLiteral("documentazione.pdf"));
    t.restart();
    {
        report::Template doc = templates::reportDocument();
        photopages::add(doc, photos, 4);
        QPdfWriter writer(pdf);
        report::render(doc, writer);
    }
    const double printMs = ms(t);
    std::printf("printing 60 photos, 4 to a page, to PDF: %.0f ms against %.0f ms to decode them at full size "
                "(ratio %.2f); PDF %.1f MB\n",
                printMs, decodeMs, printMs / decodeMs, double(QFileInfo(pdf).size()) / 1e6);

    // Saves: the record alone, the record with the set left as it was, with one caption changed
    // (the list written again) and with one photo added (the list and the photo).
    ReportArchive store;
    TSchedaIntervento record;
    record[TSchedaIntervento::NumRelazione] = QStringLiteral("2024/17");
    constexpr int kSaves = 20;
    int saved = 0;
    const auto timeSaves = [&](const char* what, const std::function<void(int)>& edit,
                               documentation::WorkingSet* with) {
        const qint64 end = store.journal().end();
        QElapsedTimer clock;
        qint64 spent = 0, editing = 0;
        for (int i = 0; i < kSaves; ++i) {
            clock.start();
            if (edit)
                edit(i);
            editing += clock.nsecsElapsed();
            record[TSchedaIntervento::Note] = QString::number(++saved);
            clock.start();
            store.save(record.encode(), QStringLiteral("1"), journal::What::Modificata,
                       with ? QList<SidePart*>{with} : QList<SidePart*>{});
            spent += clock.nsecsElapsed();
        }
        std::printf("save %s: %.2f ms (the edit before it %.2f ms), %lld bytes of history\n", what,
                    double(spent) / 1e6 / kSaves, double(editing) / 1e6 / kSaves,
                    static_cast<long long>((store.journal().end() - end) / kSaves));
    };
    set.load(1);
    // Twice each, one after the other: what the disk takes to force a save varies from second to
    // second.
    for (int round = 0; round < 2; ++round) {
        timeSaves("of the record alone", {}, nullptr);
        timeSaves("with its set of photos left as it was", {}, &set);
    }
    const QString run = QString::number(QDateTime::currentMSecsSinceEpoch()); // a caption of its own
    timeSaves(
        "with one caption changed",
        [&](int i) {
            set.setCaption(set.items()[i].id, QStringLiteral("Didascalia cambiata %1 %2").arg(run).arg(saved));
        },
        &set);
    QTemporaryDir chosen;
    QByteArray photo;
    {
        QFile f(set.pathOf(set.items()[0]));
        if (!f.open(QIODevice::ReadOnly))
            return 1;
        photo = f.readAll();
    }
    timeSaves(
        "with one photo of 24 megapixels added",
        [&](int i) {
            const QString path = chosen.filePath(QStringLiteral("nuova_%1.jpg").arg(i));
            QFile f(path);
            if (f.open(QIODevice::WriteOnly))
                f.write(numbered(photo, 100000 + saved));
            f.close();
            documentation::Imported r = documentation::importFile(set.target(), path, set.identities());
            r.photo.phase = QStringLiteral("Particolare");
            set.add(r.photo);
        },
        &set);
    // The photos added go again (into the history's folder), so that the next run finds the set
    // it made.
    QList<quint64> added;
    for (const documentation::Item& item : set.items())
        if (item.photo.file.startsWith(QStringLiteral("nuova_")))
            added << item.id;
    for (quint64 id : added)
        set.remove(id);
    store.save(record.encode(), QStringLiteral("1"), journal::What::Modificata, {&set});
    return 0;
}
