#include "widgets/StatusHints.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QWidget>

StatusHints::StatusHints(QLabel* panInfo) : QObject(panInfo), panInfo_(panInfo)
{ }

void StatusHints::hint(QWidget* control, const QString& text)
{
    hints_.insert(control, text);
    control->setMouseTracking(true);
    control->installEventFilter(this);
}

void StatusHints::blank(QWidget* background)
{
    background->setMouseTracking(true);
    background->installEventFilter(this);
}

void StatusHints::blankOthers(QWidget* root)
{
    for (QWidget* w : root->findChildren<QWidget*>())
        if (!hints_.contains(w))
            blank(w);
}

bool StatusHints::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::MouseMove && event->type() != QEvent::Enter)
        return false;
    const auto it = hints_.constFind(watched);
    if (it != hints_.constEnd()) {
        panInfo_->setText(*it);
        // Swallow the idle move so that it does not bubble up to the background.
        auto* move = event->type() == QEvent::MouseMove ? static_cast<QMouseEvent*>(event) : nullptr;
        return move && move->buttons() == Qt::NoButton;
    }
    if (event->type() == QEvent::MouseMove)
        panInfo_->clear();
    return false;
}
