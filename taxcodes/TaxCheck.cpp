#include "taxcodes/TaxCheck.h"

#include "storage/Text.h"
#include "taxcodes/Checks.h"
#include "taxcodes/CodFisc.h"
#include "taxcodes/PartitaIVA.h"

#include <QLineEdit>

void keepCodeTyped(QLineEdit* field)
{
    QObject::connect(field, &QLineEdit::textEdited, field, [field](const QString& t) {
        const QString code = taxcodes::typedCode(t);
        if (code == t)
            return;
        const int cursor = field->cursorPosition();
        field->setText(code);
        field->setCursorPosition(qMin(cursor, int(code.size())));
    });
}

std::unique_ptr<QDialog> taxCheckScreen(Ui& ui, QWidget* parent, const QString& code)
{
    const QString typed = text::trim(code);
    if (taxcodes::checkFor(typed) == taxcodes::Check::PartitaIva) {
        auto iva = std::make_unique<TfrmPartitaIva>(ui, parent);
        iva->txtPartitaIva->setText(typed);
        return iva;
    }
    auto cf = std::make_unique<TfrmCodFisc>(ui, parent);
    cf->txtCodFisc->setText(typed);
    return cf;
}
