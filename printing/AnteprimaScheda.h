#pragma once
#include "printing/ReportDocument.h"

// Shows the report in the print preview, from which it can be printed.
class TfrmAnteprimaScheda : public ReportDocumentScreen {
    Q_OBJECT
public:
    explicit TfrmAnteprimaScheda(Ui& ui, QWidget* parent = nullptr, const FieldTable<TSchedaIntervento>& card = {},
                                 Picture photo1 = {}, Picture photo2 = {},
                                 const documentation::WorkingSet* documentation = nullptr);

protected:
    void output(const report::Template& document) override;
};
