#pragma once
#include <QString>

class QLabel;
class QLineEdit;
class QWidget;

// A single-line edit of a card: field font, maximum length and the card's focus colours.
QLineEdit* cardEdit(const QString& name, int maxLength, QWidget* parent);
QLabel* fieldLabel(const QString& text, QWidget* parent);

// A caption above its control, with an optional button beside the control.
class QVBoxLayout;
QVBoxLayout* labelledField(const QString& caption, QWidget* control, QWidget* beside = nullptr);
// A panel painted by the style sheet under its name.
QWidget* styledPanel(const QString& name, QWidget* parent);

// An amount field: only digits and the comma can be typed; leaving the field formats the
// amount with two decimals.
void makeAmountField(QLineEdit* e);
