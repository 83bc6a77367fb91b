#pragma once
#include "printing/PrintJob.h"
#include "printing/Report.h"
#include "widgets/CardFields.h"

#include <QDateTime>
#include <QDialog>
#include <QWidget>

#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class Ui;
namespace documentation {
class WorkingSet;
}

// The text a card control prints: trimmed, a memo's lines kept.
QString printedValue(const QWidget* control);
// The text the card's control named objectName prints; empty when the card has none.
template <class R> QString printedValue(const FieldTable<R>& card, const QString& objectName)
{
    for (const CardField<R>& f : card)
        if (f.control->objectName() == objectName)
            return printedValue(f.control);
    return {};
}

// The small print screens of the cards: a fixed 364 x 287 window shaded from blue to
// white, a white panel with the instructions, and the buttons Annulla and the action.
class DocumentDialog : public QDialog {
    Q_OBJECT
public:
    QWidget* shpSfondo;
    QPushButton* btnAnnulla;
    QPushButton* btnStampa;
    // Whether the card's photographic documentation is printed after the document, and how
    // many photos to a page; both remembered in Brevanto.ini.
    QCheckBox* chkDocumentazione = nullptr;
    QComboBox* cboFotoPerPagina = nullptr;

    // The printing time; tests fix it.
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };

protected:
    DocumentDialog(Ui& ui, const char* objectName, const char* caption, const QString& action, QWidget* parent);
    // An instruction drawn as text on the panel: a title in bold and its explanation.
    QLabel* instruction(const char* name, const QString& title, const QString& body, const QRect& geometry);
    // The choices for the card's documentation (set: its working copy; none for a card without
    // one), between the panel and the buttons: the window grows to hold them.
    void addDocumentationChoice(const documentation::WorkingSet* set);
    // The documentation's pages at the end of t, when chosen and the card has photos.
    void addDocumentation(report::Template& t) const;
    // Prints the template after the print dialog; says so when the pages chosen are not the
    // document's. Throws IoError when it cannot be printed.
    Printed print(const report::Template& t, QWidget* over = nullptr);
    void showEvent(QShowEvent* e) override;

    Ui& ui_;

private:
    const documentation::WorkingSet* documentation_ = nullptr;
};
