#pragma once
#include <QString>

// The Italian tax-code checks.
namespace taxcodes {

// Sixteen characters 0-9 A-Z (letters in either case).
bool codiceFiscaleWellFormed(const QString& code);
// True when character 16 is the check letter computed from the first fifteen.
bool codiceFiscaleValid(const QString& code);

// Eleven digits whose last is the Luhn check digit of the first ten.
bool partitaIvaValid(const QString& number);
// The characters the card's tax-code field takes: the digits and the letters a-z, A-Z.
bool isCodeCharacter(QChar c);
// The field's text as the card keeps it: letters in capitals, without surrounding blanks.
QString typedCode(const QString& text);
// Which check a code asks for: a partita IVA is digits only, anything else is checked as a
// codice fiscale.
enum class Check { CodiceFiscale, PartitaIva };
Check checkFor(const QString& code);

// The issuing VAT office of a three-digit office code; empty when not in the table.
QString ufficioIva(const QString& code);

} // namespace taxcodes
