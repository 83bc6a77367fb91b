#pragma once
#include "search/SearchScreen.h"

#include <functional>

struct TSchedaIntervento;

// Finds reports in the report archive; a double-click in mode "interventi" hands the
// chosen report to the caller (the report card shows it).
class TfrmTrovaInterventi : public SearchScreen {
    Q_OBJECT
public:
    using Chosen = std::function<void(const TSchedaIntervento& record, qint64 position)>;
    explicit TfrmTrovaInterventi(Ui& ui, QWidget* parent = nullptr, Chosen chosen = {});

protected:
    void search(const Criteria& criteria, ListLines& lines) override;
    void showRecord(qint64 position) override;

private:
    Chosen chosen_;
};
