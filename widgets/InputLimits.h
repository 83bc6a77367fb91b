#pragma once
#include <QPlainTextEdit>

class QLineEdit;
class QMimeData;

// What the user puts into the field, typed, pasted (shortcut or context menu) or dropped,
// stops at limit characters counting what is already there; editing shortcuts always work,
// and a longer text put there by the program (a stored record, imported data) is shown whole.
void limitTyping(QLineEdit* e, int limit);

// A memo holding at most limit characters, each line break counted as two (CR LF). Input
// that does not fit is refused (a paste or drop is cut to what fits); the existing text,
// the cursor and the undo history are left alone. Text set by the program is shown whole.
class LimitedMemo : public QPlainTextEdit {
    Q_OBJECT
public:
    LimitedMemo(int limit, QWidget* parent);
    // The memo's size as stored: characters plus one more for each line break.
    static int cost(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    int room() const;
    int limit_;
};
