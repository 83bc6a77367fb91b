#pragma once
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class Ui;

// Sets the number the automatic report numbering starts from.
class TfrmNumerazione : public QDialog {
    Q_OBJECT
public:
    explicit TfrmNumerazione(Ui& ui, QWidget* parent = nullptr);

    QLabel* lblMemory;
    QLineEdit* txtInizio;
    QPushButton* btnApplica;

    void btnApplicaClick();
    // Empty becomes 1; a number is rounded to a whole one; anything else becomes 1.
    static QString normalise(const QString& text);

protected:
    void showEvent(QShowEvent* e) override;

private:
    Ui& ui_;
};
