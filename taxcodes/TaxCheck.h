#pragma once
#include <memory>

class QDialog;
class QLineEdit;
class QString;
class QWidget;
class Ui;

// The check a code from the artwork card asks for: the partita IVA screen for digits only,
// else the codice fiscale screen, with the code already in its field.
std::unique_ptr<QDialog> taxCheckScreen(Ui& ui, QWidget* parent, const QString& code);

// Keeps what is typed into a tax-code field as the card keeps it (taxcodes::typedCode),
// the cursor where it was.
void keepCodeTyped(QLineEdit* field);
