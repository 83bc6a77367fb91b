// The report card's layout: toolbar, photo column, field area and status band.
#include "reports/Interventi.h"

#include "reports/PhotoBox.h"
#include "widgets/Buttons.h"
#include "widgets/CardParts.h"
#include "widgets/Fields.h"
#include "widgets/FocusEffect.h"
#include "widgets/InputLimits.h"
#include "widgets/StatusHints.h"
#include "widgets/Style.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace {
using F = TSchedaIntervento;
} // namespace

QWidget* TfrmInterventi::buildPhotos(StatusHints& hints)
{
    auto* column = new QWidget(this);
    column->setObjectName(QStringLiteral("panFoto"));
    foto1 = new PhotoBox(ui_, QString(), QStringLiteral("placeholder_foto1"), QStringLiteral("ico_a"), hints, column);
    foto2 = new PhotoBox(ui_, QStringLiteral("02"), QStringLiteral("placeholder_foto2"), QStringLiteral("ico_b"), hints,
                         column);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(12, 8, 4, 8);
    layout->setSpacing(8);
    layout->addWidget(foto1);
    layout->addWidget(foto2);
    layout->addStretch();
    hints.blank(column);
    return column;
}

QWidget* TfrmInterventi::buildFields(StatusHints& hints)
{
    auto* area = new QWidget(this);
    area->setObjectName(QStringLiteral("panCampi"));
    area->setAttribute(Qt::WA_StyledBackground);
    hints.blank(area);

    txtNumScheda = cardEdit(QStringLiteral("txtNumScheda"), F::typed(F::NumRelazione), area);
    txtNumScheda->setAlignment(Qt::AlignCenter);
    txtData = cardEdit(QStringLiteral("txtData"), F::typed(F::DataEmissione), area);
    txtTecnico = cardEdit(QStringLiteral("txtTecnico"), F::typed(F::Team), area);
    txtAzienda = cardEdit(QStringLiteral("txtAzienda"), F::typed(F::Intestazione), area);
    txtPratica = cardEdit(QStringLiteral("txtPratica"), F::typed(F::StatoAnteOperam), area);
    txtCliente = cardEdit(QStringLiteral("txtCliente"), F::typed(F::Committente), area);
    txtRecapito = cardEdit(QStringLiteral("txtRecapito"), F::typed(F::Recapito), area);
    txtVeicolo = cardEdit(QStringLiteral("txtVeicolo"), F::typed(F::TitoloOpera), area);
    txtTarga = cardEdit(QStringLiteral("txtTarga"), F::typed(F::Anno), area);
    txtMarca = cardEdit(QStringLiteral("txtMarca"), F::typed(F::Tecnica), area);
    txtChilometraggio = cardEdit(QStringLiteral("txtChilometraggio"), F::typed(F::Artista), area);
    txtDanni = cardEdit(QStringLiteral("txtDanni"), F::typed(F::Indagini), area);
    txtDataInizio = cardEdit(QStringLiteral("txtDataInizio"), F::typed(F::DataInizio), area);
    txtStato = cardEdit(QStringLiteral("txtStato"), F::typed(F::StatoAvanzamento), area);
    txtDataFine = cardEdit(QStringLiteral("txtDataFine"), F::typed(F::DataFine), area);
    txtVernice = cardEdit(QStringLiteral("txtVernice"), F::typed(F::CauseDegrado), area);
    txtRicambi = cardEdit(QStringLiteral("txtRicambi"), F::typed(F::Conclusioni), area);
    txtManodopera = cardEdit(QStringLiteral("txtManodopera"), F::typed(F::Dimensioni), area);
    txtNote = cardEdit(QStringLiteral("txtNote"), F::typed(F::Note), area);
    txtTotale = cardEdit(QStringLiteral("txtTotale"), F::typed(F::Totale), area);
    txtTotale->setAlignment(Qt::AlignRight);
    txtTotale->setFixedWidth(150);
    for (QLineEdit* d : {txtData, txtDataInizio, txtDataFine}) {
        d->setReadOnly(true);
        d->setFixedWidth(150);
        d->setAlignment(Qt::AlignCenter);
    }

    auto* memoArea = new QWidget(area);
    txtInterventi = new LimitedMemo(F::typed(F::MaterialiInterventi), memoArea); // CR LF counted as two
    txtInterventi->setObjectName(QStringLiteral("txtInterventi"));
    txtInterventi->setProperty("fontRole", QStringLiteral("entry"));
    txtInterventi->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    txtInterventi->setProperty("card", true);
    auto* memoLayout = new QVBoxLayout(memoArea);
    memoLayout->setContentsMargins(5, 5, 5, 5);
    memoLayout->addWidget(txtInterventi);
    new FocusEffect(QStringLiteral("effInterventi"), txtInterventi);

    btnLogo = new PictureButton(QStringLiteral("btnLogo"), QStringLiteral("tb_palette"), area, 30);
    hints.hint(btnLogo, QStringLiteral("Imposta il logo del Laboratorio di Restauro."));
    impCliente = new PictureButton(QStringLiteral("impCliente"), QStringLiteral("tb_importa"), area, 26);
    hints.hint(impCliente, QStringLiteral("Importa i dati dall'archivio delle opere d'arte."));

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(4);
    auto* number = new QHBoxLayout;
    number->addLayout(labelledField(F::label(F::NumRelazione), txtNumScheda), 1);
    number->addWidget(btnLogo, 0, Qt::AlignBottom);
    grid->addLayout(number, 0, 0);
    grid->addLayout(labelledField(F::label(F::DataEmissione), txtData), 0, 1);
    grid->addLayout(labelledField(F::label(F::Team), txtTecnico), 0, 2, 1, 2);
    grid->addLayout(labelledField(F::label(F::Intestazione), txtAzienda), 1, 0, 1, 4);
    grid->addLayout(labelledField(F::label(F::Committente), txtCliente, impCliente), 2, 0, 1, 3);
    grid->addLayout(labelledField(F::label(F::Recapito), txtRecapito), 2, 3);
    grid->addLayout(labelledField(F::label(F::TitoloOpera), txtVeicolo), 3, 0, 1, 2);
    grid->addLayout(labelledField(F::label(F::Anno), txtTarga), 3, 2);
    grid->addLayout(labelledField(F::label(F::Tecnica), txtMarca), 3, 3);
    grid->addLayout(labelledField(F::label(F::Artista), txtChilometraggio), 4, 0, 1, 2);
    grid->addLayout(labelledField(F::label(F::StatoAnteOperam), txtPratica), 4, 2, 1, 2);
    grid->addLayout(labelledField(F::label(F::Indagini), txtDanni), 5, 0, 1, 4);
    grid->addLayout(labelledField(F::label(F::DataInizio), txtDataInizio), 6, 0);
    grid->addLayout(labelledField(F::label(F::StatoAvanzamento), txtStato), 6, 1, 1, 2);
    grid->addLayout(labelledField(F::label(F::DataFine), txtDataFine), 6, 3);
    grid->addLayout(labelledField(F::label(F::CauseDegrado), txtVernice), 7, 0, 1, 4);
    grid->addLayout(labelledField(F::label(F::Conclusioni), txtRicambi), 8, 0, 1, 4);
    auto* memoCell = new QVBoxLayout;
    memoCell->setSpacing(0);
    memoCell->addWidget(fieldLabel(F::label(F::MaterialiInterventi), area));
    memoCell->addWidget(memoArea, 1);
    grid->addLayout(memoCell, 9, 0, 1, 4);
    grid->setRowStretch(9, 1);
    for (int c = 0; c < 4; ++c)
        grid->setColumnStretch(c, 1);

    auto* icoPagato = new QLabel(area);
    icoPagato->setObjectName(QStringLiteral("icoPagato"));
    icoPagato->setPixmap(style::pixmap(QStringLiteral("ico_pagato")));
    chkPagato = new QCheckBox(QStringLiteral(" ") + F::label(F::Pagato), area);
    chkPagato->setObjectName(QStringLiteral("chkPagato"));
    hints.hint(chkPagato,
               QString::fromUtf8("Spunta questa casella per annotare che il conto è stato saldato dal committente."));
    auto* bottom = new QHBoxLayout;
    bottom->setSpacing(6);
    bottom->addWidget(fieldLabel(F::label(F::Dimensioni), area));
    bottom->addWidget(txtManodopera, 2);
    bottom->addSpacing(8);
    bottom->addWidget(fieldLabel(F::label(F::Note), area));
    bottom->addWidget(txtNote, 3);
    bottom->addSpacing(8);
    bottom->addWidget(fieldLabel(F::label(F::Totale), area));
    bottom->addWidget(txtTotale);
    bottom->addSpacing(8);
    bottom->addWidget(icoPagato);
    bottom->addWidget(chkPagato);

    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(10, 8, 14, 8);
    layout->setSpacing(6);
    layout->addLayout(grid, 1);
    layout->addLayout(bottom);
    return area;
}
