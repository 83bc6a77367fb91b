#include "reports/Calendario.h"

#include "storage/Text.h"
#include "widgets/Keys.h"
#include "widgets/Style.h"

#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TfrmCalendario::TfrmCalendario(Ui&, QWidget* parent, QLineEdit* target, QDate today)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), target_(target)
{
    setObjectName(QStringLiteral("frmCalendario"));
    setWindowTitle(QStringLiteral(" Importazione data"));
    lblMemory = new QLabel(this);
    lblMemory->setObjectName(QStringLiteral("lblMemory"));
    lblMemory->hide();

    auto* caption = new QLabel(QStringLiteral("Importare una data:"), this);
    caption->setProperty("instruction", true);
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("panCalendario"));
    panel->setAttribute(Qt::WA_StyledBackground);
    calAppuntamenti = new QCalendarWidget(panel);
    calAppuntamenti->setObjectName(QStringLiteral("calAppuntamenti"));
    calAppuntamenti->setLocale(QLocale(QLocale::Italian, QLocale::Italy));
    calAppuntamenti->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    calAppuntamenti->setGridVisible(true);
    calAppuntamenti->setProperty("fontRole", QStringLiteral("calendar"));
    calAppuntamenti->setSelectedDate(today);
    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(4, 4, 4, 4);
    panelLayout->addWidget(calAppuntamenti);

    auto* btnAnnulla = new QPushButton(QStringLiteral("Annulla"), this);
    btnAnnulla->setObjectName(QStringLiteral("btnAnnulla"));
    auto* btnImportaData = new QPushButton(QStringLiteral("Importa"), this);
    btnImportaData->setObjectName(QStringLiteral("btnImportaData"));
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {btnAnnulla, btnImportaData}) {
        dialogButton(b);
        buttons->addWidget(b);
    }

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(caption);
    layout->addWidget(panel, 1);
    layout->addLayout(buttons);
    setFixedSize(253, 294);

    connect(btnAnnulla, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnImportaData, &QPushButton::clicked, this, &TfrmCalendario::btnImportaDataClick);
    connect(calAppuntamenti, &QCalendarWidget::activated, this, &TfrmCalendario::btnImportaDataClick);
}

void TfrmCalendario::btnImportaDataClick()
{
    // Only the three date modes of the report card import a date.
    static const QStringList modes{QStringLiteral("interventi_data"), QStringLiteral("interventi_datainizio"),
                                   QStringLiteral("interventi_datafine")};
    if (!target_ || !modes.contains(text::trim(lblMemory->text())))
        return;
    target_->setText(calAppuntamenti->selectedDate().toString(style::kShortDate));
    accept();
}
