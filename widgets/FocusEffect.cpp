#include "widgets/FocusEffect.h"

#include <QEvent>
#include <QLinearGradient>
#include <QPainter>

FocusEffect::FocusEffect(const QString& name, QWidget* edit) : QWidget(edit->parentWidget()), target_(edit)
{
    setObjectName(name);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    edit->installEventFilter(this);
    hide();
    follow();
}

void FocusEffect::follow()
{
    setGeometry(target_->geometry().adjusted(-5, -5, 5, 5));
    stackUnder(target_);
}

bool FocusEffect::eventFilter(QObject*, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize: follow(); break;
    case QEvent::FocusIn:
        follow();
        show();
        break;
    case QEvent::FocusOut: hide(); break;
    default: break;
    }
    return false;
}

void FocusEffect::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient stroke(0, 0, 0, height());
    stroke.setColorAt(0, outlineTop_);
    stroke.setColorAt(1, outlineBottom_);
    p.setPen(QPen(QBrush(stroke), 2));
    p.setBrush(fill_);
    p.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 4, 4);
}
