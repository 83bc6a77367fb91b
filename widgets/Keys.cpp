#include "widgets/Keys.h"

#include <QAbstractButton>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPushButton>

namespace {
class KeyFilter : public QObject {
public:
    KeyFilter(QObject* parent, std::function<bool(QKeyEvent*)> f) : QObject(parent), f_(std::move(f)) { }

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::KeyPress)
            return f_(static_cast<QKeyEvent*>(e));
        return false;
    }

private:
    std::function<bool(QKeyEvent*)> f_;
};

class FocusOutFilter : public QObject {
public:
    FocusOutFilter(QObject* parent, std::function<void()> f) : QObject(parent), f_(std::move(f)) { }

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        // A context menu opening over the field is not leaving it.
        if (e->type() == QEvent::FocusOut && static_cast<QFocusEvent*>(e)->reason() != Qt::PopupFocusReason)
            f_();
        return false;
    }

private:
    std::function<void()> f_;
};

bool isEnter(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}
} // namespace

void onEnter(QWidget* w, std::function<void()> handler)
{
    w->installEventFilter(new KeyFilter(w, [h = std::move(handler)](QKeyEvent* e) {
        if (!isEnter(e->key()) || (e->modifiers() & ~Qt::KeypadModifier))
            return false;
        h();
        return true;
    }));
}

void filterKeys(QWidget* w, std::function<bool(int, const QString&)> allowed)
{
    w->installEventFilter(new KeyFilter(w, [a = std::move(allowed)](QKeyEvent* e) {
        // Editing shortcuts always work; a paste must pass the filter like typing.
        if ((e->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) && !e->matches(QKeySequence::Paste))
            return false;
        switch (e->key()) {
        case Qt::Key_Backspace:
        case Qt::Key_Delete:
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_Return:
        case Qt::Key_Enter: return false;
        default: return !a(e->key(), e->text());
        }
    }));
}

void dialogButton(QAbstractButton* b)
{
    b->setCursor(Qt::PointingHandCursor);
    if (auto* push = qobject_cast<QPushButton*>(b))
        push->setAutoDefault(false);
    onEnter(b, [b] {
        if (b->isEnabled())
            b->click();
    });
}

void onFocusOut(QWidget* w, std::function<void()> handler)
{
    w->installEventFilter(new FocusOutFilter(w, std::move(handler)));
}
