#pragma once
#include "taxcodes/TaxCheckDialog.h"

// Tells whether a partita IVA is well formed and names the office that issued it.
class TfrmPartitaIva : public TaxCheckDialog {
    Q_OBJECT
public:
    explicit TfrmPartitaIva(Ui& ui, QWidget* parent = nullptr);
    QLineEdit* txtPartitaIva;
    void btnControllaClick() override;
};
