#include "app/CommandLine.h"
#include "app/Screens.h"
#include "backup/BackupActions.h"
#include "widgets/QtUi.h"
#include "widgets/Style.h"

#include <QApplication>
#include <QIcon>

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
    style::speakItalian(app);
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
