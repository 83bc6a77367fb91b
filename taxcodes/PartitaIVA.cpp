#include "taxcodes/PartitaIVA.h"

#include "taxcodes/Checks.h"
#include "widgets/Keys.h"
#include "widgets/Ui.h"

#include <QLineEdit>

namespace {
const TaxCheckDialog::Look kLook{"frmPartitaIva",
                                 " Controllo partita IVA",
                                 480,
                                 "title_partitaiva",
                                 "Immettere il numero di partita IVA e premere il pulsante di controllo.",
                                 "txtPartitaIva",
                                 11};
} // namespace

TfrmPartitaIva::TfrmPartitaIva(Ui& ui, QWidget* parent) : TaxCheckDialog(ui, kLook, parent), txtPartitaIva(edit())
{
    filterKeys(txtPartitaIva,
               [](int, const QString& t) { return t.size() == 1 && t.at(0) >= u'0' && t.at(0) <= u'9'; });
}

void TfrmPartitaIva::btnControllaClick()
{
    const QString number = txtPartitaIva->text();
    if (number.size() != 11) {
        ui_.message(this, Ui::Kind::Warning,
                    QStringLiteral("Attenzione: la partita IVA deve essere composta da 11 caratteri numerici."));
        txtPartitaIva->setFocus();
        return;
    }
    if (!taxcodes::partitaIvaValid(number)) {
        ui_.message(
            this, Ui::Kind::Warning,
            QStringLiteral(
                "Attenzione: il numero di partita IVA digitato risulta ERRATO!\r\n\r\n"
                "Non \u00E8 quindi possibile fornire informazioni relative all'Ufficio IVA che lo ha rilasciato."));
    } else {
        ui_.message(this, Ui::Kind::Information,
                    QStringLiteral("Il numero di partita IVA digitato risulta VALIDO.\r\n\r\n"
                                   "E' stato rilasciato dall'Ufficio IVA del Comune di ")
                        + taxcodes::ufficioIva(number.mid(7, 3)) + QStringLiteral("."));
    }
    accept();
}
