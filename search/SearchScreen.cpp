#include "search/SearchScreen.h"

#include "storage/IoError.h"
#include "storage/Text.h"
#include "widgets/Fields.h"
#include "widgets/FocusEffect.h"
#include "widgets/Keys.h"
#include "widgets/Messages.h"
#include "widgets/Style.h"
#include "widgets/Ui.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

SearchScreen::SearchScreen(Ui& ui, const Look& look, const std::vector<CriterionField>& criterionFields,
                           int decorations, QWidget* parent)
    : ListScreen(ui, look, parent)
{
    lblTrovate = new QLabel(panContainer);
    lblTrovate->setObjectName(QStringLiteral("lblTrovate"));
    lblTrovate->setAlignment(Qt::AlignCenter);
    resultsLayout()->insertWidget(resultsLayout()->indexOf(lblRigo03) + 1, lblTrovate);

    panAvvio = new QWidget(this);
    panAvvio->setObjectName(QStringLiteral("panAvvio"));
    panAvvio->setAttribute(Qt::WA_StyledBackground);
    panAvvio->setGeometry(0, 0, 862, 560);
    panContainer->hide();

    auto* explain = new QLabel(
        QString::fromUtf8("Digitare una o pi\u00F9 parole consecutive delle schede cercate nei campi desiderati, "
                          "lasciare vuoti tutti gli altri campi e premere Cerca. "
                          "Una stessa ricerca pu\u00F2 utilizzare pi\u00F9 campi contemporaneamente."),
        panAvvio);
    explain->setObjectName(QStringLiteral("imgSpiega"));
    explain->setProperty("listHelp", true);
    explain->setWordWrap(true);
    auto* explainRow = new QHBoxLayout;
    explainRow->setSpacing(10);
    for (int i = 0; i < decorations; ++i) {
        static const char* const kPictures[] = {"tb_trova", "tb_segnalati", "tb_importa"};
        auto* deco = new QLabel(panAvvio);
        deco->setObjectName(QStringLiteral("imgDecoro%1").arg(i + 1));
        deco->setPixmap(style::pixmap(QString::fromLatin1(kPictures[i % 3]), QSize(36, 36)));
        explainRow->addWidget(deco);
    }
    explainRow->addWidget(explain, 1);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(24);
    grid->setVerticalSpacing(12);
    for (size_t i = 0; i < criterionFields.size(); ++i) {
        const CriterionField& c = criterionFields[i];
        auto* edit = new QLineEdit(panAvvio);
        edit->setObjectName(QString::fromLatin1(c.edit));
        edit->setProperty("fontRole", QStringLiteral("entry"));
        edit->setMaxLength(c.maxLength);
        new FocusEffect(QString::fromLatin1(c.effect), edit);
        auto* cell = new QVBoxLayout;
        cell->setSpacing(2);
        cell->addWidget(fieldLabel(c.label, panAvvio));
        cell->addWidget(edit);
        grid->addLayout(cell, int(i / 2), int(i % 2));
        edits_.push_back(edit);
        fields_.push_back(c.field);
    }
    for (size_t i = 0; i < edits_.size(); ++i) {
        QLineEdit* next = edits_[(i + 1) % edits_.size()];
        onEnter(edits_[i], [next] { next->setFocus(); });
        if (i > 0)
            setTabOrder(edits_[i - 1], edits_[i]);
    }

    lblAttendere = new QLabel(QStringLiteral("Ricerca schede in corso. Attendere..."), panAvvio);
    lblAttendere->setObjectName(QStringLiteral("lblAttendere"));
    lblAttendere->hide();
    btnAnnulla = new QPushButton(QStringLiteral("Chiudi"), panAvvio);
    btnAnnulla->setObjectName(QStringLiteral("btnAnnulla"));
    btnCerca = new QPushButton(QStringLiteral("Cerca"), panAvvio);
    btnCerca->setObjectName(QStringLiteral("btnCerca"));
    for (QPushButton* b : {btnAnnulla, btnCerca}) {
        dialogButton(b);
        b->setMinimumWidth(100);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(lblAttendere);
    buttons->addStretch();
    buttons->addWidget(btnAnnulla);
    buttons->addWidget(btnCerca);

    auto* layout = new QVBoxLayout(panAvvio);
    layout->setContentsMargins(14, 10, 14, 12);
    layout->setSpacing(10);
    layout->addWidget(listBanner(QString::fromUtf8(look.banner), panAvvio));
    layout->addLayout(explainRow);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addLayout(buttons);

    // The please-wait text shows as the mouse button goes down, before the search runs.
    connect(btnCerca, &QPushButton::pressed, this, [this] {
        lblAttendere->show();
        lblAttendere->repaint();
    });
    connect(btnCerca, &QPushButton::clicked, this, &SearchScreen::btnCercaClick);
    connect(btnAnnulla, &QPushButton::clicked, this, &QDialog::reject);
}

Criteria SearchScreen::typedCriteria() const
{
    Criteria c;
    for (size_t i = 0; i < edits_.size(); ++i)
        c.add(fields_[i], edits_[i]->text());
    return c;
}

void SearchScreen::btnCercaClick()
{
    ListLines found;
    bool readable = true;
    try {
        search(typedCriteria(), found);
    } catch (const IoError&) {
        readable = false;
    }
    lblAttendere->hide();
    if (!readable) {
        ui_.message(this, Ui::Kind::Plain, messages::kArchiveAccess);
        return;
    }
    lblTrovate->setText(QStringLiteral("Il presente riepilogo contiene %1.")
                            .arg(text::counted(found.size(), QStringLiteral("scheda"), QStringLiteral("schede"))));
    panContainer->show();
    panAvvio->hide();
    txtTrova->clear();
    setLines(std::move(found));
}

void SearchScreen::showEvent(QShowEvent* e)
{
    ListScreen::showEvent(e);
    if (e->spontaneous())
        return;
    forgetLastFindKey();
    txtTrova->clear();
    edits_.front()->setFocus();
}

void SearchScreen::done(int result)
{
    lblAttendere->hide();
    ListScreen::done(result);
}
