#pragma once
#include "storage/Text.h"

#include <QString>

#include <algorithm>
#include <initializer_list>
#include <vector>

class QWidget;

// One line of a card's field table: the record field (of record R) a control holds.
// Clearing, showing and saving a card, its mandatory check, the import into it and whatever
// prints or exports a card read this table, so no field is ever mapped by list order.
template <class R> struct CardField {
    typename R::Field field;
    QWidget* control; // QLineEdit, QPlainTextEdit, QCheckBox ("Sì"/"No") or hidden QLabel
    QString mandatory; // the warning shown when it is empty at save; empty: optional
};
template <class R> using FieldTable = std::vector<CardField<R>>;

namespace cardfields {

// The control's text as the record stores it: a memo's lines joined by CR LF, a check
// box as "Sì" or "No".
QString value(const QWidget* control);
// Puts a stored text into the control: a memo splits at CR LF, a check box changes only
// for "Sì" or "No", an edit shows a long text from its beginning.
void setValue(QWidget* control, const QString& text);
void clear(QWidget* control);

// The control holding field, or nullptr.
template <class R> QWidget* control(const FieldTable<R>& table, typename R::Field field)
{
    for (const CardField<R>& f : table)
        if (f.field == field)
            return f.control;
    return nullptr;
}

// Blanks every control of the table except those listed.
template <class R> void clearAll(const FieldTable<R>& table, std::initializer_list<const QWidget*> keep = {})
{
    for (const CardField<R>& f : table)
        if (std::find(keep.begin(), keep.end(), f.control) == keep.end())
            clear(f.control);
}

// Blanks the attachment slots (the fields from File01 on).
template <class R> void clearSlots(const FieldTable<R>& table)
{
    for (const CardField<R>& f : table)
        if (f.field >= R::File01)
            clear(f.control);
}

// The first mandatory field whose trimmed text is empty, in table order, or nullptr.
template <class R> const CardField<R>* firstMissing(const FieldTable<R>& table)
{
    for (const CardField<R>& f : table)
        if (!f.mandatory.isEmpty() && text::trim(value(f.control)).isEmpty())
            return &f;
    return nullptr;
}

template <class R> R record(const FieldTable<R>& table)
{
    R r;
    for (const CardField<R>& f : table)
        r[f.field] = value(f.control);
    return r;
}

template <class R> void show(const FieldTable<R>& table, const R& r)
{
    for (const CardField<R>& f : table)
        setValue(f.control, r[f.field]);
}

} // namespace cardfields
