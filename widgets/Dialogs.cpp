#include "widgets/Dialogs.h"

#include "widgets/Ui.h"

#include <QDialog>
#include <QPushButton>
#include <QScreen>

int execOnce(Ui& ui, std::unique_ptr<QDialog> dialog)
{
    return ui.exec(dialog.get());
}

void centerOnScreen(QWidget* w)
{
    const QScreen* screen = w->screen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    w->move(area.center() - QPoint(w->frameGeometry().width() / 2, w->frameGeometry().height() / 2));
}

QPushButton* closeButton(QDialog* dialog)
{
    auto* b = new QPushButton(QStringLiteral("Chiudi"), dialog);
    b->setObjectName(QStringLiteral("btnChiudi"));
    b->setCursor(Qt::PointingHandCursor);
    QObject::connect(b, &QPushButton::clicked, dialog, &QDialog::accept);
    return b;
}
