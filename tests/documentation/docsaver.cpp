// Saves a report with its photos and documentation as the report card does, with a fault at a
// chosen change the save makes on the disk, so that the tests can see what each leaves:
//   docsaver FOLDER count            the save as it is; prints how many changes it made, and how
//                                    many of them need room on the disk
//   docsaver FOLDER kill N           ends the process at the Nth change, as a power cut would
//   docsaver FOLDER full N           the Nth write (or file or folder made) fails as on a full disk
// FOLDER holds report 1 with a.jpg, b.jpg and c.jpg in its documentation, and beside it the
// files nuova.jpg (a photo to add) and scheda.jpg (the card's new photo A). The save adds
// nuova.jpg, turns a.jpg, removes b.jpg, changes c.jpg's caption, replaces photo A and changes
// the record's note. Prints "saved" once the save returned; exits 1 with the cause on standard
// error (and "full" when the disk was full).
#include "TestPlatform.h"
#include "documentation/Import.h"
#include "documentation/WorkingSet.h"
#include "records/ReportArchive.h"
#include "records/ReportPhotos.h"
#include "storage/IoError.h"
#include "storage/Platform.h"
#include "storage/ProgramDir.h"
#include "widgets/FramePhotos.h"
#include "widgets/PictureFrame.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <cstdio>

namespace {
int changes = 0; // every change, and those that need room
int roomy = 0;
int faultAt = 0;
bool kill = false;

// A full disk refuses what needs room: writes, new files and folders.
bool needsRoom(platform::Change change)
{
    return change == platform::Change::Write || change == platform::Change::Create
           || change == platform::Change::Folder;
}

bool fault(platform::Change change)
{
    if (!kill && !needsRoom(change))
        return true;
    if (++changes != faultAt)
        return true;
    if (kill)
        testplatform::killSelf();
    if (qEnvironmentVariableIsSet("DOCSAVER_TRACE"))
        std::fprintf(stderr, "failing change %d of kind %d\n", changes, int(change));
    return false;
}
} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen"); // Wine hands the program no QT_* variable
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3)
        return 2;
    programdir::Override here(args[1]);
    const QString mode = args[2];
    kill = mode == QLatin1String("kill");
    faultAt = args.value(3).toInt();

    documentation::WorkingSet set(documentation::Kind::Report);
    set.load(1);
    if (set.items().size() != 3)
        return 3;
    const documentation::Imported added =
        documentation::importFile(set.target(), programdir::file(QStringLiteral("nuova.jpg")), set.identities());
    if (added.outcome != documentation::Imported::Outcome::Added)
        return 4;
    documentation::Photo photo = added.photo;
    photo.phase = QStringLiteral("Durante il restauro");
    photo.caption = QStringLiteral("Durante la pulitura");
    set.add(photo);
    for (const documentation::Item& i : std::vector<documentation::Item>(set.items().begin(), set.items().end())) {
        if (i.photo.file == QLatin1String("a.jpg"))
            set.rotate(i.id);
        else if (i.photo.file == QLatin1String("b.jpg"))
            set.remove(i.id);
        else if (i.photo.file == QLatin1String("c.jpg"))
            set.setCaption(i.id, QStringLiteral("Didascalia cambiata"));
    }
    PictureFrame frameA(QStringLiteral("imgFoto"), nullptr), frameB(QStringLiteral("imgFoto02"), nullptr);
    QFile chosen(programdir::file(QStringLiteral("scheda.jpg")));
    if (!chosen.open(QIODevice::ReadOnly))
        return 5;
    const QByteArray bytes = chosen.readAll();
    frameA.setFileImage(QImage::fromData(bytes), bytes);
    FramePhotos photos(
        {{1, &frameA, [](qint64 n) { return reportphotos::path(reportphotos::Frame::A, QString::number(n)); }},
         {2, &frameB, [](qint64 n) { return reportphotos::path(reportphotos::Frame::B, QString::number(n)); }}});
    ReportArchive store;
    TSchedaIntervento record = store.record(1);
    record[TSchedaIntervento::Note] = QStringLiteral("dopo");

    if (mode != QLatin1String("count"))
        platform::setFaultHook(fault);
    else
        platform::setFaultHook([](platform::Change change) {
            ++changes;
            roomy += needsRoom(change);
            return true;
        });
    try {
        store.save(record.encode(), QStringLiteral("1"), journal::What::Modificata, {&photos, &set});
    } catch (const IoError& e) {
        platform::setFaultHook(nullptr);
        std::fprintf(stderr, "%s\n%s\n", e.diskFull() ? "full" : "other", e.what());
        return 1;
    }
    platform::setFaultHook(nullptr);
    std::printf("saved\nchanges %d %d\n", changes, roomy);
    return 0;
}
