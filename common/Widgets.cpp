#include "common/Widgets.h"

#include "common/Amount.h"
#include "common/Ui.h"

#include <QDialog>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QEvent>
#include <QPushButton>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QStyle>

PictureButton::PictureButton(const QString& name, const QString& pictureName, QWidget* parent, int iconSize,
                             const QString& caption)
    : QToolButton(parent)
{
    setObjectName(name);
    setIcon(QIcon(QPixmap::fromImage(picture(pictureName))));
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
    setFont(QFont(QStringLiteral("Tahoma"), 14, -1, false));
    QFont f = font();
    f.setUnderline(true);
    setFont(f);
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

PictureFrame::PictureFrame(const QString& name, QWidget* parent) : QWidget(parent)
{
    setObjectName(name);
}

void PictureFrame::setImage(const QImage& image)
{
    image_ = image;
    fileBytes_.clear();
    changed_ = true;
    update();
}

void PictureFrame::setFileImage(const QImage& image, const QByteArray& fileBytes)
{
    setImage(image);
    fileBytes_ = fileBytes;
}

void PictureFrame::setStoredImage(const QImage& image)
{
    setImage(image);
    changed_ = false;
}

void PictureFrame::markStored()
{
    fileBytes_.clear();
    changed_ = false;
}

void PictureFrame::paintEvent(QPaintEvent*)
{
    if (image_.isNull())
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const QSize fitted = image_.size().scaled(size(), Qt::KeepAspectRatio);
    const QRect target(QPoint((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted);
    p.drawImage(target, image_);
}

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
    case QEvent::Resize:
        follow();
        break;
    case QEvent::FocusIn:
        follow();
        show();
        break;
    case QEvent::FocusOut:
        hide();
        break;
    default:
        break;
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

StatusHints::StatusHints(QLabel* panInfo) : QObject(panInfo), panInfo_(panInfo) {}

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

QLineEdit* cardEdit(const QString& name, int maxLength, QWidget* parent)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setMaxLength(maxLength);
    e->setProperty("card", true);
    e->setFont(QFont(QStringLiteral("Verdana"), 12, QFont::Bold));
    return e;
}

QLabel* fieldLabel(const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setProperty("field", true);
    return l;
}

namespace {
class KeyFilter : public QObject {
public:
    KeyFilter(QObject* parent, std::function<bool(QKeyEvent*)> f) : QObject(parent), f_(std::move(f)) {}
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
    FocusOutFilter(QObject* parent, std::function<void()> f) : QObject(parent), f_(std::move(f)) {}
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

bool isEnter(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }
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
        case Qt::Key_Backspace: case Qt::Key_Delete: case Qt::Key_Left: case Qt::Key_Right:
        case Qt::Key_Tab: case Qt::Key_Backtab: case Qt::Key_Home: case Qt::Key_End:
        case Qt::Key_Return: case Qt::Key_Enter:
            return false;
        default:
            return !a(e->key(), e->text());
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

QImage picture(const QString& name)
{
    return QImage(QStringLiteral(":/pictures/%1.png").arg(name));
}

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

void makeAmountField(QLineEdit* e)
{
    e->setProperty("amount", true);
    filterKeys(e, [](int, const QString& t) {
        return t.size() == 1 && ((t.at(0) >= u'0' && t.at(0) <= u'9') || t.at(0) == u',');
    });
    onFocusOut(e, [e] { e->setText(amount::format(e->text())); });
}

QPushButton* closeButton(QDialog* dialog)
{
    auto* b = new QPushButton(QStringLiteral("Chiudi"), dialog);
    b->setObjectName(QStringLiteral("btnChiudi"));
    b->setCursor(Qt::PointingHandCursor);
    QObject::connect(b, &QPushButton::clicked, dialog, &QDialog::accept);
    return b;
}
