#pragma once
#include <QLabel>
#include <QToolButton>

// A picture (or picture-and-caption) button with a hand cursor.
class PictureButton : public QToolButton {
    Q_OBJECT
public:
    PictureButton(const QString& name, const QString& picture, QWidget* parent, int iconSize = 40,
                  const QString& caption = {});
};

// A picture or text that reacts to a click, with a hand cursor.
class ClickLabel : public QLabel {
    Q_OBJECT
public:
    explicit ClickLabel(const QString& name, QWidget* parent);
signals:
    void clicked();
    void pressed();
    void released();

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
};

// A link text: dark blue, orange while the mouse button is held on it or on its icon.
class LinkLabel : public ClickLabel {
    Q_OBJECT
public:
    LinkLabel(const QString& name, const QString& text, QWidget* parent);
    // The icon before the link acts as the link does.
    void addIcon(ClickLabel* icon);
    bool isPressedLook() const { return pressedLook_; }
signals:
    void activated();

private:
    void setPressedLook(bool pressed);
    bool pressedLook_ = false;
};
