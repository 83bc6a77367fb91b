#pragma once
#include "search/SummaryScreen.h"

#include <functional>

struct TSchedaIntervento;

// The reports not marked as paid, in archive order; a double-click hands the chosen
// report to the caller (the report card shows it).
class TfrmDaSaldare : public SummaryScreen {
    Q_OBJECT
public:
    using Chosen = std::function<void(const TSchedaIntervento& record, qint64 position)>;
    explicit TfrmDaSaldare(Ui& ui, QWidget* parent = nullptr, Chosen chosen = {});

protected:
    void build(ListLines& lines) override;
    void showRecord(qint64 position) override;

private:
    Chosen chosen_;
};
