#include "taxcodes/CodFisc.h"

#include "storage/Text.h"
#include "taxcodes/Checks.h"
#include "taxcodes/TaxCheck.h"
#include "widgets/Ui.h"

#include <QLineEdit>

namespace {
const TaxCheckDialog::Look kLook{"frmCodFisc",
                                 " Controllo codice fiscale",
                                 478,
                                 "title_codfisc",
                                 "Immettere il codice fiscale e premere il pulsante di controllo.",
                                 "txtCodFisc",
                                 16};
} // namespace

TfrmCodFisc::TfrmCodFisc(Ui& ui, QWidget* parent) : TaxCheckDialog(ui, kLook, parent), txtCodFisc(edit())
{
    keepCodeTyped(txtCodFisc);
}

void TfrmCodFisc::btnControllaClick()
{
    const QString code = text::upperAscii(txtCodFisc->text());
    if (!taxcodes::codiceFiscaleWellFormed(code)) {
        ui_.message(this, Ui::Kind::Warning,
                    QStringLiteral("Attenzione: il codice fiscale deve essere composto da 16 caratteri alfanumerici."));
        txtCodFisc->setFocus();
        return;
    }
    if (taxcodes::codiceFiscaleValid(code))
        ui_.message(this, Ui::Kind::Information, QStringLiteral("Il codice fiscale digitato \u00E8 VALIDO."));
    else
        ui_.message(this, Ui::Kind::Warning, QStringLiteral("Attenzione: il codice fiscale digitato \u00E8 ERRATO."));
    accept();
}
