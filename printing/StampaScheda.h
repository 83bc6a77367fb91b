#pragma once
#include "printing/ReportDocument.h"

// Prints the report on paper after the print dialog.
class TfrmStampaScheda : public ReportDocumentScreen {
    Q_OBJECT
public:
    explicit TfrmStampaScheda(Ui& ui, QWidget* parent = nullptr, const FieldTable<TSchedaIntervento>& card = {},
                              Picture photo1 = {}, Picture photo2 = {},
                              const documentation::WorkingSet* documentation = nullptr);

protected:
    void output(const report::Template& document) override;
};
