#pragma once
#include <QWidget>

class QLineEdit;
class QPushButton;
class Ui;

// The login screen: the first window, and the main one.
class TfrmPassword : public QWidget {
    Q_OBJECT
public:
    explicit TfrmPassword(Ui& ui, QWidget* parent = nullptr);

    QLineEdit* txtPassword;
    QPushButton* cmdOK;

    void cmdOKClick();
    // Back from the password change: an empty password field with the focus.
    void comeBack();

signals:
    // The password was right: the launcher follows.
    void loggedIn();
    // Cambia password was pressed: the password change follows.
    void changeRequested();

protected:
    void showEvent(QShowEvent* e) override;

private:
    void updateOk();
    Ui& ui_;
};
