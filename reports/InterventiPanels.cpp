// The report card's layout: toolbar, photo column, field area and status band.
#include "reports/Interventi.h"

#include "common/CardParts.h"
#include "common/InputLimits.h"
#include "common/Buttons.h"
#include "common/FocusEffect.h"
#include "common/StatusHints.h"
#include "common/Fields.h"
#include "common/Style.h"
#include "reports/PhotoBox.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>


QWidget* TfrmInterventi::buildPhotos(StatusHints& hints)
{
    auto* column = new QWidget(this);
    column->setObjectName(QStringLiteral("panFoto"));
    foto1 = new PhotoBox(ui_, QString(), QStringLiteral("placeholder_foto1"), QStringLiteral("ico_a"), hints, column);
    foto2 = new PhotoBox(ui_, QStringLiteral("02"), QStringLiteral("placeholder_foto2"), QStringLiteral("ico_b"), hints, column);
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

    txtNumScheda = cardEdit(QStringLiteral("txtNumScheda"), 50, area);
    txtNumScheda->setAlignment(Qt::AlignCenter);
    txtData = cardEdit(QStringLiteral("txtData"), 10, area);
    txtTecnico = cardEdit(QStringLiteral("txtTecnico"), 120, area);
    txtAzienda = cardEdit(QStringLiteral("txtAzienda"), 500, area);
    txtPratica = cardEdit(QStringLiteral("txtPratica"), 250, area);
    txtCliente = cardEdit(QStringLiteral("txtCliente"), 500, area);
    txtRecapito = cardEdit(QStringLiteral("txtRecapito"), 50, area);
    txtVeicolo = cardEdit(QStringLiteral("txtVeicolo"), 50, area);
    txtTarga = cardEdit(QStringLiteral("txtTarga"), 30, area);
    txtMarca = cardEdit(QStringLiteral("txtMarca"), 50, area);
    txtChilometraggio = cardEdit(QStringLiteral("txtChilometraggio"), 50, area);
    txtDanni = cardEdit(QStringLiteral("txtDanni"), 1000, area);
    txtDataInizio = cardEdit(QStringLiteral("txtDataInizio"), 10, area);
    txtStato = cardEdit(QStringLiteral("txtStato"), 50, area);
    txtDataFine = cardEdit(QStringLiteral("txtDataFine"), 10, area);
    txtVernice = cardEdit(QStringLiteral("txtVernice"), 500, area);
    txtRicambi = cardEdit(QStringLiteral("txtRicambi"), 1000, area);
    txtManodopera = cardEdit(QStringLiteral("txtManodopera"), 50, area);
    txtNote = cardEdit(QStringLiteral("txtNote"), 1000, area);
    txtTotale = cardEdit(QStringLiteral("txtTotale"), 15, area);
    txtTotale->setAlignment(Qt::AlignRight);
    txtTotale->setFixedWidth(150);
    for (QLineEdit* d : {txtData, txtDataInizio, txtDataFine}) {
        d->setReadOnly(true);
        d->setFixedWidth(150);
        d->setAlignment(Qt::AlignCenter);
    }

    auto* memoArea = new QWidget(area);
    txtInterventi = new LimitedMemo(5000, memoArea); // CR LF counted as two
    txtInterventi->setObjectName(QStringLiteral("txtInterventi"));
    txtInterventi->setFont(QFont(QStringLiteral("Verdana"), 12, QFont::Bold));
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
    number->addLayout(labelledField(QStringLiteral("Relazione n."), txtNumScheda), 1);
    number->addWidget(btnLogo, 0, Qt::AlignBottom);
    grid->addLayout(number, 0, 0);
    grid->addLayout(labelledField(QStringLiteral("Data emissione:"), txtData), 0, 1);
    grid->addLayout(labelledField(QStringLiteral("Team di Restauro:"), txtTecnico), 0, 2, 1, 2);
    grid->addLayout(labelledField(QStringLiteral("Intestazione Laboratorio di Restauro:"), txtAzienda), 1, 0, 1, 4);
    grid->addLayout(labelledField(QStringLiteral("Committente:"), txtCliente, impCliente), 2, 0, 1, 3);
    grid->addLayout(labelledField(QStringLiteral("Recapito telefonico:"), txtRecapito), 2, 3);
    grid->addLayout(labelledField(QStringLiteral("Titolo opera d'arte:"), txtVeicolo), 3, 0, 1, 2);
    grid->addLayout(labelledField(QStringLiteral("Anno:"), txtTarga), 3, 2);
    grid->addLayout(labelledField(QStringLiteral("Tecnica utilizzata:"), txtMarca), 3, 3);
    grid->addLayout(labelledField(QStringLiteral("Artista:"), txtChilometraggio), 4, 0, 1, 2);
    grid->addLayout(labelledField(QStringLiteral("Stato ante-operam:"), txtPratica), 4, 2, 1, 2);
    grid->addLayout(labelledField(QStringLiteral("Indagini diagnostiche:"), txtDanni), 5, 0, 1, 4);
    grid->addLayout(labelledField(QStringLiteral("Data inizio lavori:"), txtDataInizio), 6, 0);
    grid->addLayout(labelledField(QStringLiteral("Stato avanzamento lavori:"), txtStato), 6, 1, 1, 2);
    grid->addLayout(labelledField(QStringLiteral("Data fine lavori:"), txtDataFine), 6, 3);
    grid->addLayout(labelledField(QStringLiteral("Cause del degrado:"), txtVernice), 7, 0, 1, 4);
    grid->addLayout(labelledField(QStringLiteral("Conclusioni e consigli:"), txtRicambi), 8, 0, 1, 4);
    auto* memoCell = new QVBoxLayout;
    memoCell->setSpacing(0);
    memoCell->addWidget(fieldLabel(QStringLiteral("Materiali utilizzati e interventi eseguiti:"), area));
    memoCell->addWidget(memoArea, 1);
    grid->addLayout(memoCell, 9, 0, 1, 4);
    grid->setRowStretch(9, 1);
    for (int c = 0; c < 4; ++c)
        grid->setColumnStretch(c, 1);

    auto* icoPagato = new QLabel(area);
    icoPagato->setObjectName(QStringLiteral("icoPagato"));
    icoPagato->setPixmap(QPixmap::fromImage(picture(QStringLiteral("ico_pagato"))));
    chkPagato = new QCheckBox(QStringLiteral(" Pagato"), area);
    chkPagato->setObjectName(QStringLiteral("chkPagato"));
    hints.hint(chkPagato, QString::fromUtf8("Spunta questa casella per annotare che il conto è stato saldato dal committente."));
    auto* bottom = new QHBoxLayout;
    bottom->setSpacing(6);
    bottom->addWidget(fieldLabel(QStringLiteral("Dimensioni opera:"), area));
    bottom->addWidget(txtManodopera, 2);
    bottom->addSpacing(8);
    bottom->addWidget(fieldLabel(QStringLiteral("Note:"), area));
    bottom->addWidget(txtNote, 3);
    bottom->addSpacing(8);
    bottom->addWidget(fieldLabel(QString::fromUtf8("Totale: €"), area));
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
