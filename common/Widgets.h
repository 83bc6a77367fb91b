#pragma once
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QWidget>

#include <functional>
#include <memory>

// Building blocks shared by the screens.

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

// A picture control that shows its bitmap scaled to fit with proportions kept, centred.
// It remembers whether its picture changed since it was shown from its stored file, so
// that a card rewrites a photo only when the user changed it.
class PictureFrame : public QWidget {
    Q_OBJECT
public:
    PictureFrame(const QString& name, QWidget* parent);
    // A picture the user put here (a capture, a deletion): changed.
    void setImage(const QImage& image);
    // A picture read from a file the user chose; its bytes are stored as they are.
    void setFileImage(const QImage& image, const QByteArray& fileBytes);
    // The picture as stored (or the placeholder shown for one that is missing): unchanged.
    void setStoredImage(const QImage& image);
    const QImage& image() const { return image_; }
    bool isChanged() const { return changed_; }
    // The chosen file's own bytes (JPEG) when there are any, else empty.
    const QByteArray& fileBytes() const { return fileBytes_; }
    void markStored();
protected:
    void paintEvent(QPaintEvent*) override;
private:
    QImage image_;
    QByteArray fileBytes_;
    bool changed_ = false;
};

// The yellow rectangle of the dialog screens: yellow fill, outline graded from yellow to
// white, shown behind its edit only while the edit has the focus. Its colours come from
// the style sheet.
class FocusEffect : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QColor fill MEMBER fill_)
    Q_PROPERTY(QColor outlineTop MEMBER outlineTop_)
    Q_PROPERTY(QColor outlineBottom MEMBER outlineBottom_)
public:
    FocusEffect(const QString& name, QWidget* edit);
protected:
    void paintEvent(QPaintEvent*) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
private:
    void follow();
    QWidget* target_;
    QColor fill_;
    QColor outlineTop_;
    QColor outlineBottom_;
};

// Routes the status hints of a card to its status text: a hinted control shows its hint,
// the background and the decorations empty the line.
class StatusHints : public QObject {
    Q_OBJECT
public:
    explicit StatusHints(QLabel* panInfo);
    void hint(QWidget* control, const QString& text);
    void blank(QWidget* background);
    // Every widget under root without a hint of its own (captions, decorations, fields)
    // empties the line when the mouse moves over it.
    void blankOthers(QWidget* root);
protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
private:
    QLabel* panInfo_;
    QHash<QObject*, QString> hints_;
};

// A single-line edit of a card: field font, maximum length and the card's focus colours.
QLineEdit* cardEdit(const QString& name, int maxLength, QWidget* parent);
QLabel* fieldLabel(const QString& text, QWidget* parent);

// An amount field: only digits and the comma can be typed; leaving the field formats the
// amount with two decimals.
void makeAmountField(QLineEdit* e);

// Calls handler for the keys Enter and Return pressed in the watched widget.
void onEnter(QWidget* w, std::function<void()> handler);
// Installs a key filter: allowed(key, text) decides; Enter goes to onEnter handlers first.
void filterKeys(QWidget* w, std::function<bool(int key, const QString& text)> allowed);
// Runs handler when w loses the focus.
void onFocusOut(QWidget* w, std::function<void()> handler);

// A dialog's push button: hand cursor, never the dialog's default button, and pressed by
// Enter or Return (without modifiers) when it has the focus, as by Space.
class QAbstractButton;
void dialogButton(QAbstractButton* b);

// The "Chiudi" button btnChiudi of a dialog, closing it.
class QDialog;
class QPushButton;
QPushButton* closeButton(QDialog* dialog);

// Shows a screen created for one use modally, then destroys it.
int execOnce(class Ui& ui, std::unique_ptr<QDialog> dialog);

// Centres a top-level window on its screen.
void centerOnScreen(QWidget* w);

// The picture stored in the resources under that name (":/pictures/<name>.png").
QImage picture(const QString& name);
