// A card's save with its photos and documentation is one transaction: whatever stops it (the
// process killed at any change it makes on the disk, a full disk at any write), the next access
// finds the card, its folder, its photos and its history agreeing, as before the save or as
// after it, never a mixture; and a save that reported success stored everything.
#include "Files.h"
#include "Pictures.h"

#include "documentation/PhotoList.h"
#include "documentation/VersionBlock.h"
#include "documentation/WorkingSet.h"
#include "history/Versions.h"
#include "records/ReportArchive.h"
#include "records/ReportPhotos.h"
#include "storage/CardFiles.h"
#include "storage/Crc32.h"
#include "storage/ProgramDir.h"

#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace documentation;
using testfiles::read;
using testfiles::write;

namespace {
QString documentationFolder()
{
    return folder(Kind::Report, 1);
}

// A copy of the folder from, with everything below it.
bool copyTree(const QString& from, const QString& to)
{
    QDirIterator it(from, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString target = to + path.mid(from.size());
        if (it.fileInfo().isDir() ? !QDir().mkpath(target) : !QFile::copy(path, target))
            return false;
    }
    return true;
}

struct Run {
    int code = -1;
    bool saved = false;
    QByteArray error;
    QList<int> changes;
};

Run docsaver(const QString& lab, const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(DOCSAVER), QStringList{lab} + args);
    p.waitForFinished(60000);
    Run r;
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    const QByteArray out = p.readAllStandardOutput();
    r.saved = out.contains("saved");
    r.error = p.readAllStandardError();
    for (const QByteArray& line : out.split('\n'))
        if (line.startsWith("changes "))
            for (const QByteArray& n : line.mid(8).split(' '))
                r.changes << n.trimmed().toInt();
    return r;
}

// What a state of report 1 is made of: its record's note, its photo A, its documentation.
struct State {
    QString note;
    QByteArray photoA;
    QList<Photo> photos;
};
} // namespace

class TestCardSave : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void stoppedAtEveryChange_data();
    void stoppedAtEveryChange();

private:
    // The laboratory as it stands after the interrupted save: whole, and before or after it.
    void checkWhole(const QString& lab, bool saved);

    QTemporaryDir fixture_;
    State before_;
    QByteArray nuova_, scheda_;
    QList<int> changes_;
};

void TestCardSave::initTestCase()
{
    programdir::Override here(fixture_.path());
    ReportArchive store;
    TSchedaIntervento r;
    r[TSchedaIntervento::NumRelazione] = QStringLiteral("1");
    r[TSchedaIntervento::Note] = QStringLiteral("prima");
    store.save(r.encode(), {}, journal::What::Inserita);
    QVERIFY(QDir().mkpath(reportphotos::folder()));
    write(reportphotos::path(reportphotos::Frame::A, QStringLiteral("1")), orientedJpeg(quarteredPicture(), 1));
    {
        WorkingSet set(Kind::Report);
        set.load(1);
        QVERIFY(QDir().mkpath(fixture_.filePath(QStringLiteral("scelte"))));
        const QStringList names{"a.jpg", "b.jpg", "c.jpg"};
        for (int i = 0; i < names.size(); ++i) {
            const QString source = fixture_.filePath(QStringLiteral("scelte/") + names[i]);
            write(source, orientedJpeg(quarteredPicture({100 + 10 * i, 80}), 1));
            Imported added = importFile(set.target(), source, set.identities());
            QCOMPARE(added.outcome, Imported::Outcome::Added);
            added.photo.phase = QStringLiteral("Prima del restauro");
            added.photo.caption = QStringLiteral("Foto %1").arg(i + 1);
            set.add(added.photo);
        }
        store.save(store.read(1), QStringLiteral("1"), journal::What::Modificata, {&set});
    } // its working session ends: nothing of it stays in the fixture
    nuova_ = orientedJpeg(quarteredPicture({70, 90}), 1);
    scheda_ = orientedJpeg(quarteredPicture({90, 70}), 1);
    write(fixture_.filePath(QStringLiteral("nuova.jpg")), nuova_);
    write(fixture_.filePath(QStringLiteral("scheda.jpg")), scheda_);
    before_ = {QStringLiteral("prima"), read(reportphotos::path(reportphotos::Frame::A, QStringLiteral("1"))),
               decode(read(listPath(Kind::Report, 1))).photos};
    QCOMPARE(before_.photos.size(), 3);

    // The save as it is, once, to count its changes.
    QTemporaryDir once;
    QVERIFY(copyTree(fixture_.path(), once.path()));
    const Run run = docsaver(once.path(), {QStringLiteral("count")});
    QVERIFY2(run.code == 0 && run.saved, run.error.constData());
    QCOMPARE(run.changes.size(), 2);
    changes_ = run.changes;
    QVERIFY2(changes_[0] > 10 && changes_[1] > 5, "the save makes more than a few changes");
    checkWhole(once.path(), true);
}

void TestCardSave::stoppedAtEveryChange_data()
{
    QTest::addColumn<bool>("kill");
    QTest::addColumn<int>("at");
    for (int n = 1; n <= changes_.value(0); ++n)
        QTest::addRow("killed at change %d", n) << true << n;
    for (int n = 1; n <= changes_.value(1); ++n)
        QTest::addRow("disk full at write %d", n) << false << n;
}

void TestCardSave::stoppedAtEveryChange()
{
    QFETCH(bool, kill);
    QFETCH(int, at);
    QTemporaryDir lab;
    QVERIFY(copyTree(fixture_.path(), lab.path()));
    const Run r = docsaver(lab.path(), {kill ? QStringLiteral("kill") : QStringLiteral("full"), QString::number(at)});
    if (kill)
        QVERIFY2(r.code != 0 && !r.saved, "the process ends where it was killed");
    else
        QVERIFY2(r.code == 1 || (r.code == 0 && r.saved), r.error.constData());
    if (!kill && r.code == 1)
        QVERIFY2(QByteArray(r.error).replace('\r', "").split('\n').contains("full"),
                 r.error.constData()); // told as a full disk
    checkWhole(lab.path(), r.saved);
}

void TestCardSave::checkWhole(const QString& lab, bool saved)
{
    programdir::Override here(lab);
    ReportArchive store;
    store.recover(); // what the next start does
    const QString note = store.record(1)[TSchedaIntervento::Note];
    const QString photoPath = reportphotos::path(reportphotos::Frame::A, QStringLiteral("1"));
    const List list = decode(read(listPath(Kind::Report, 1)));
    QVERIFY(!list.damaged);

    // Every photo listed is in the folder, whole; nothing else is, and nothing waits.
    QStringList expected{kListName};
    for (const Photo& p : list.photos) {
        const QByteArray bytes = read(documentationFolder() + u'/' + p.file);
        QCOMPARE(bytes.size(), p.size);
        QCOMPARE(crc32(bytes), p.crc);
        expected << p.file;
    }
    expected.sort();
    QCOMPARE(QDir(documentationFolder()).entryList(QDir::Files | QDir::Hidden, QDir::Name), expected);
    QCOMPARE(QDir(cardfiles::stagingFolder(filesFolder(Kind::Report))).entryList(QDir::Files | QDir::Hidden),
             QStringList());

    // The history's newest version is what the archive and the folder hold.
    const std::vector<history::Version> versions = history::versions(
        store.history(1), history::kindOf<TSchedaIntervento>({1, 2}), {photoPath, QString()}, documentationFolder());
    QVERIFY(!versions.empty());
    QCOMPARE(versions[0].entry.record, store.read(1));
    QCOMPARE(versions[0].documentation, list.photos);
    for (const QString& file : versions[0].documentationFiles)
        QVERIFY2(QFileInfo(file).isFile(), qPrintable(file));

    // As before the save, or as after it: never a mixture.
    const bool after = note == QLatin1String("dopo");
    if (saved)
        QVERIFY2(after, "a save that returned stored everything");
    if (!after) {
        QCOMPARE(note, before_.note);
        QCOMPARE(read(photoPath), before_.photoA);
        QCOMPARE(list.photos, before_.photos);
        return;
    }
    QCOMPARE(read(photoPath), scheda_);
    QCOMPARE(read(versions.at(1).photos.value(0)), before_.photoA); // the photo replaced is kept
    QStringList names;
    for (const Photo& p : list.photos)
        names << p.file;
    QCOMPARE(names, (QStringList{"a.jpg", "c.jpg", "nuova.jpg"}));
    QVERIFY(list.photos[0].crc != before_.photos[0].crc); // turned
    QCOMPARE(list.photos[1].caption, QStringLiteral("Didascalia cambiata"));
    QCOMPARE(read(documentationFolder() + QStringLiteral("/nuova.jpg")), nuova_);
    // The photos taken out of the folder (b, and a as it was before its turn) are kept, and the
    // version before names them.
    QCOMPARE(versions.at(1).documentation, before_.photos);
    for (int i = 0; i < before_.photos.size(); ++i) {
        const QByteArray bytes = read(versions.at(1).documentationFiles.value(i));
        QCOMPARE(crc32(bytes), before_.photos[i].crc);
    }
}

QTEST_MAIN(TestCardSave)
#include "tst_cardsave.moc"
