#include "app/Screens.h"
#include "common/QtUi.h"
#include "common/Style.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Brevanto"));
    style::installAppearance(app);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pictures/app_icon.png")));
    QtUi ui;
    startScreens(ui);
    const int rc = app.exec();
    destroyScreens();
    return rc;
}
