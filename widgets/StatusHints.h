#pragma once
#include <QHash>
#include <QObject>

class QLabel;
class QWidget;

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
