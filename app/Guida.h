#pragma once
#include <QDialog>

class LinkLabel;
class QLabel;
class QPlainTextEdit;
class Ui;

// The help window: a topic title, its text and the link to the PDF manual.
class TfrmGuida : public QDialog {
    Q_OBJECT
public:
    explicit TfrmGuida(Ui& ui, QWidget* parent = nullptr);
    void setTopic(const QString& title, const QString& text);

    QLabel* lblTitolo;
    QPlainTextEdit* txtGuida;
    LinkLabel* lnkWeb;

private:
    Ui& ui_;
};

// Creates a help window owned by parent, shows it modally with the topic and destroys it.
void showHelp(Ui& ui, QWidget* parent, const QString& title, const QString& text);
