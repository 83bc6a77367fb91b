#pragma once
#include "search/Criteria.h"
#include "search/ListScreen.h"

#include <vector>

class QLineEdit;

// A search screen: the criteria panel panAvvio in front of the results panel. Cerca scans
// the archive with the criteria typed; on success the results panel comes to the front,
// on an archive failure the criteria stay as typed and the access message shows.
class SearchScreen : public ListScreen {
    Q_OBJECT
public:
    QWidget* panAvvio;
    QLabel* lblAttendere;
    QLabel* lblTrovate;
    QPushButton* btnAnnulla;
    QPushButton* btnCerca;

    // The criterion edits in the order of their table (the Enter and tab order).
    const std::vector<QLineEdit*>& criteria() const { return edits_; }

    void btnCercaClick();

protected:
    struct CriterionField {
        const char* edit;
        QString label;
        int field;
        const char* effect;
        int maxLength;
    };
    // A criterion over field f of record R: its caption and the characters the field holds
    // come from the record; label, when given, replaces the caption.
    template <class R>
    static CriterionField criterion(const char* edit, typename R::Field f, const char* effect,
                                    const QString& label = {})
    {
        return {edit, label.isEmpty() ? R::label(f) : label, int(f), effect, R::characters(f)};
    }
    SearchScreen(Ui& ui, const Look& look, const std::vector<CriterionField>& criterionFields, int decorations,
                 QWidget* parent);

    // The criteria as typed, each bound to its record field.
    Criteria typedCriteria() const;
    // Fills lines from the archive; throws IoError when the archive cannot be read.
    virtual void search(const Criteria& criteria, ListLines& lines) = 0;
    void showEvent(QShowEvent* e) override;
    void done(int result) override;

private:
    std::vector<QLineEdit*> edits_;
    std::vector<int> fields_;
};
