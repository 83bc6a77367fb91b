#pragma once
#include <QWidget>

class QLineEdit;
class QPushButton;
class Ui;

// Replaces the access password; reached from the login screen, returns to it.
class TfrmCambiaPassword : public QWidget {
    Q_OBJECT
public:
    explicit TfrmCambiaPassword(Ui& ui, QWidget* parent = nullptr);

    QLineEdit* txtPasswordOld;
    QLineEdit* txtPasswordNew;
    QLineEdit* txtConferma;
    QPushButton* cmdOK;

    void cmdOKClick();

signals:
    // Whatever closes this screen hands control back to the login screen.
    void closed();

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void updateOk();
    Ui& ui_;
};
