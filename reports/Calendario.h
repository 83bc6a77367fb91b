#pragma once
#include <QDate>
#include <QDialog>

class QCalendarWidget;
class QLabel;
class QLineEdit;
class Ui;

// Picks a date for one of the report card's date fields: the caller names the mode in
// lblMemory and hands over the field the date goes into.
class TfrmCalendario : public QDialog {
    Q_OBJECT
public:
    TfrmCalendario(Ui& ui, QWidget* parent = nullptr, QLineEdit* target = nullptr, QDate today = QDate::currentDate());

    QLabel* lblMemory;
    QCalendarWidget* calAppuntamenti;

    void btnImportaDataClick();

private:
    QLineEdit* target_;
};
