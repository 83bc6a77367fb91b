#pragma once
#include <QDate>
#include <QDialog>

class QCalendarWidget;
class QLabel;
class Ui;

// Picks a date for one of the report card's date fields, named by the mode in lblMemory.
class TfrmCalendario : public QDialog {
    Q_OBJECT
public:
    TfrmCalendario(Ui& ui, QWidget* parent = nullptr, QDate today = QDate::currentDate());

    QLabel* lblMemory;
    QCalendarWidget* calAppuntamenti;

    void btnImportaDataClick();
};
