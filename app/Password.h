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

protected:
    void showEvent(QShowEvent* e) override;

private:
    void updateOk();
    Ui& ui_;
};
