#include "app/Screens.h"
#include "common/QtUi.h"
#include "common/Style.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char** argv)
{
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
    startScreens(ui);
    const int rc = app.exec();
    destroyScreens();
    return rc;
}
