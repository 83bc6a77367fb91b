#include "taxcodes/TaxCheck.h"

#include "common/Text.h"
#include "taxcodes/Checks.h"
#include "taxcodes/CodFisc.h"
#include "taxcodes/PartitaIVA.h"

#include <QLineEdit>

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
