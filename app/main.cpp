#include "app/Screens.h"
#include "common/QtUi.h"
#include "common/Style.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Brevanto"));
    style::installAppearance(app);
    QtUi ui;
    startScreens(ui);
    const int rc = app.exec();
    destroyScreens();
    return rc;
}
