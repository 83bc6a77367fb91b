#include "app/CommandLine.h"
#include "app/Screens.h"
#include "backup/BackupActions.h"
#include "common/QtUi.h"
#include "common/Style.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char** argv)
{
    // The scheduled jobs need no display: no GUI application is made for them.
    if (commandline::wanted(argc, argv)) {
        QCoreApplication app(argc, argv);
        return commandline::run(QCoreApplication::arguments());
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Brevanto"));
    // Qt's own dialogs (file, print, preview) speak Italian like the rest of the program.
    QTranslator qtItalian;
    if (qtItalian.load(QLocale(QLocale::Italian, QLocale::Italy), QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtItalian);
    style::installAppearance(app);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pictures/app_icon.png")));
    QtUi ui;
    if (!backupactions::recoverAtStart(ui))
        return 1; // the data are still partly replaced by a restore: nothing may read or change them
    startScreens(ui);
    const int rc = app.exec();
    destroyScreens();
    return rc;
}
