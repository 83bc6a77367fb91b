#pragma once
#include <QString>

#include <initializer_list>
#include <vector>

class QWidget;

// One line of a card's field table: the record field a control holds. Clearing, showing
// and saving a card, its mandatory check, the import into it and whatever prints or
// exports a card read this table, so no field is ever mapped by list order.
struct CardField {
    int field;         // the record's field index
    QWidget* control;  // QLineEdit, QPlainTextEdit, QCheckBox ("Sì"/"No") or hidden QLabel
    QString mandatory; // the warning shown when it is empty at save; empty: optional
};
using FieldTable = std::vector<CardField>;

namespace cardfields {

// The control's text as the record stores it: a memo's lines joined by CR LF, a check
// box as "Sì" or "No".
QString value(const QWidget* control);
// Puts a stored text into the control: a memo splits at CR LF, a check box changes only
// for "Sì" or "No", an edit shows a long text from its beginning.
void setValue(QWidget* control, const QString& text);
void clear(QWidget* control);

// The control holding field, or nullptr.
QWidget* control(const FieldTable& table, int field);
// Blanks every control of the table except those listed.
void clearAll(const FieldTable& table, std::initializer_list<const QWidget*> keep = {});
// The first mandatory field whose trimmed text is empty, in table order, or nullptr.
const CardField* firstMissing(const FieldTable& table);

template <class R>
R record(const FieldTable& table)
{
    R r;
    for (const CardField& f : table)
        r.text[size_t(f.field)] = value(f.control);
    return r;
}

template <class R>
void show(const FieldTable& table, const R& r)
{
    for (const CardField& f : table)
        setValue(f.control, r.text[size_t(f.field)]);
}

} // namespace cardfields
