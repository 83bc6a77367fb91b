#pragma once
#include "search/SummaryScreen.h"

#include <functional>

struct TSchedaOpera;

// The works of the catalogue not marked as sold, in title order; a double-click hands the
// chosen work to the caller (the artwork card shows it).
class TfrmOpere_Disponibili : public SummaryScreen {
    Q_OBJECT
public:
    using Chosen = std::function<void(const TSchedaOpera& record, qint64 position)>;
    explicit TfrmOpere_Disponibili(Ui& ui, QWidget* parent = nullptr, Chosen chosen = {});

protected:
    void build(ListLines& lines) override;
    void showRecord(qint64 position) override;

private:
    Chosen chosen_;
};
