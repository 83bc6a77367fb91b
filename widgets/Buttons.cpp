#include "widgets/Buttons.h"

#include "widgets/Style.h"

#include <QMouseEvent>
#include <QStyle>

PictureButton::PictureButton(const QString& name, const QString& pictureName, QWidget* parent, int iconSize,
                             const QString& caption)
    : QToolButton(parent)
{
    setObjectName(name);
    setProperty("picture", pictureName); // the picture's name, as the manual shows it
    setIcon(style::icon(pictureName));
    setIconSize(QSize(iconSize, iconSize));
    setAutoRaise(true);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    if (!caption.isEmpty()) {
        setText(caption);
        setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        setProperty("bar", true);
    }
}

ClickLabel::ClickLabel(const QString& name, QWidget* parent) : QLabel(parent)
{
    setObjectName(name);
    setCursor(Qt::PointingHandCursor);
}

void ClickLabel::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton)
        emit pressed();
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton)
        return;
    emit released();
    if (rect().contains(e->position().toPoint()))
        emit clicked();
}

LinkLabel::LinkLabel(const QString& name, const QString& text, QWidget* parent) : ClickLabel(name, parent)
{
    setText(text);
    setPressedLook(false);
    addIcon(this);
}

void LinkLabel::addIcon(ClickLabel* icon)
{
    connect(icon, &ClickLabel::pressed, this, [this] { setPressedLook(true); });
    connect(icon, &ClickLabel::released, this, [this] { setPressedLook(false); });
    connect(icon, &ClickLabel::clicked, this, [this] {
        setPressedLook(false);
        emit activated();
    });
}

void LinkLabel::setPressedLook(bool pressed)
{
    // The colours are in the style sheet, keyed on these properties.
    pressedLook_ = pressed;
    setProperty("link", true);
    setProperty("pressed", pressed);
    style()->unpolish(this);
    style()->polish(this);
}
