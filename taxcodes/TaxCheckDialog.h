#pragma once
#include <QDialog>

class QLineEdit;
class QPushButton;
class Ui;

// The layout both tax-code screens share: a title picture, an instruction, the code in a
// shaded band with "Controlla" beside it, and "Chiudi".
class TaxCheckDialog : public QDialog {
    Q_OBJECT
public:
    struct Look {
        const char* objectName;
        const char* caption;
        int clientWidth;
        const char* titlePicture;
        const char* instruction;
        const char* editName;
        int maxLength;
    };
    TaxCheckDialog(Ui& ui, const Look& look, QWidget* parent);

    QLineEdit* edit() const { return edit_; }
    QPushButton* btnControlla;

    virtual void btnControllaClick() = 0;

protected:
    void showEvent(QShowEvent* e) override;
    Ui& ui_;

private:
    QLineEdit* edit_;
};
