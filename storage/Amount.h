#pragma once
#include <QString>
#include <optional>

namespace amount {

// Parses a decimal number written with a comma as decimal separator (no thousands
// separator); blanks around it are allowed. Empty optional when the text is not a number.
std::optional<double> parse(const QString& text);

// The amount normalisation applied when an amount field is left: digits, a comma and
// two decimals; "0,00" for empty or invalid input.
QString format(const QString& text);

} // namespace amount
