// Takes the pictures of the user manual: builds an invented laboratory in a temporary
// program folder, shows every screen of the screen table on a 1280 x 800 offscreen desktop
// and writes each as a PNG file, with the printed documents as PDF files and pictures of
// their pages. The list of pictures, with the screen and caption each shows, goes to
// immagini.txt (file, objectName and caption separated by tabs), which the manual's test reads.
// Usage: screenshots OUTPUT_DIR
#include "SampleLab.h"
#include "Studio.h"

#include "app/Screens.h"
#include "storage/IoError.h"
#include "storage/ProgramDir.h"
#include "widgets/Style.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

namespace {
// The offscreen platform's one screen, at a common desktop size.
bool useDesktopScreen(const QTemporaryDir& work)
{
    QFile config(work.filePath(QStringLiteral("schermo.json")));
    if (!config.open(QIODevice::WriteOnly))
        return false;
    config.write(R"({"screens": [{"name": "manuale", "x": 0, "y": 0, "width": 1280, "height": 800,
                   "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    config.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(config.fileName()));
    return true;
}

// Pictures of rows that are gone must not stay behind.
void emptyFolder(const QString& out)
{
    QDir dir(out);
    dir.mkpath(QStringLiteral("."));
    for (const QString& f :
         dir.entryList({QStringLiteral("*.png"), QStringLiteral("*.pdf"), QStringLiteral("*.txt")}, QDir::Files))
        dir.remove(f);
}
} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir work;
    if (argc != 2 || !work.isValid() || !useDesktopScreen(work)) {
        std::fprintf(stderr, "usage: screenshots OUTPUT_DIR\n");
        return 2;
    }
    QApplication app(argc, argv);
    // Qt's own dialogs in Italian, as the program shows them.
    style::speakItalian(app);
    style::installAppearance(app);
    const QString out = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    emptyFolder(out);
    const QString home = work.filePath(QStringLiteral("Brevanto"));
    QDir().mkpath(home);
    programdir::Override folder(home);
    try {
        samplelab::fill();
    } catch (const IoError& e) {
        std::fprintf(stderr, "screenshots: the sample laboratory was not written: %s\n", qPrintable(e.cause()));
        return 1;
    }
    TestUi ui;
    createScreens(ui);
    Studio studio(ui, out);
    QString manifest;
    int failed = 0;
    for (const Shot& shot : shots()) {
        const QString name = QString::fromLatin1(shot.file);
        const std::optional<Picture> picture = shot.take(studio);
        if (!picture) {
            std::fprintf(stderr, "screenshots: %s not taken (no such screen in this build)\n", shot.file);
            continue;
        }
        if (!picture->image.save(out + QLatin1Char('/') + name + QStringLiteral(".png"))) {
            std::fprintf(stderr, "screenshots: %s.png not written\n", shot.file);
            ++failed;
            continue;
        }
        manifest += name + u'\t' + picture->objectName + u'\t' + picture->caption.trimmed() + u'\n';
    }
    destroyScreens();
    QFile list(out + QStringLiteral("/immagini.txt"));
    if (!list.open(QIODevice::WriteOnly) || list.write(manifest.toUtf8()) < 0 || !list.flush())
        ++failed;
    return failed == 0 ? 0 : 1;
}
