#pragma once
#include "taxcodes/TaxCheckDialog.h"

// Tells whether a codice fiscale is well formed by its check letter.
class TfrmCodFisc : public TaxCheckDialog {
    Q_OBJECT
public:
    explicit TfrmCodFisc(Ui& ui, QWidget* parent = nullptr);
    QLineEdit* txtCodFisc;
    void btnControllaClick() override;
};
