// The artwork card's layout: toolbar, field column, photo column and status band.
#include "catalogue/Opere.h"

#include "widgets/Buttons.h"
#include "widgets/CardParts.h"
#include "widgets/Fields.h"
#include "widgets/InputLimits.h"
#include "widgets/Messages.h"
#include "widgets/PictureFrame.h"
#include "widgets/StatusHints.h"
#include "widgets/Style.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
using F = TSchedaOpera;
} // namespace

QWidget* TfrmOpere::buildFieldColumn(StatusHints& hints)
{
    auto* column = styledPanel(QStringLiteral("panCampi"), this);
    auto* title = new QLabel(column);
    title->setObjectName(QStringLiteral("imgTitolo"));
    title->setPixmap(style::pixmap(QStringLiteral("title_opera")));

    txtCapo = cardEdit(QStringLiteral("txtCapo"), F::typed(F::Titolo), column);
    txtDescrizione = cardEdit(QStringLiteral("txtDescrizione"), F::typed(F::Soggetto), column);
    txtColore = cardEdit(QStringLiteral("txtColore"), F::typed(F::Artista), column);
    txtTessuto = cardEdit(QStringLiteral("txtTessuto"), F::typed(F::Anno), column);
    txtMisure = cardEdit(QStringLiteral("txtMisure"), F::typed(F::Nazione), column);
    txtPeso = cardEdit(QStringLiteral("txtPeso"), F::typed(F::Tecnica), column);
    txtUsura = cardEdit(QStringLiteral("txtUsura"), F::typed(F::Corrente), column);
    txtDifetti = cardEdit(QStringLiteral("txtDifetti"), F::typed(F::Dimensioni), column);
    txtServizio = cardEdit(QStringLiteral("txtServizio"), F::typed(F::Supporto), column);
    txtSpecifiche = cardEdit(QStringLiteral("txtSpecifiche"), F::typed(F::Luogo), column);
    txtCliente = cardEdit(QStringLiteral("txtCliente"), F::typed(F::Proprietario), column);
    txtCodFisc = cardEdit(QStringLiteral("txtCodFisc"), F::typed(F::CodFisc), column);
    txtRecapito = cardEdit(QStringLiteral("txtRecapito"), F::typed(F::Recapito), column);
    btnCodFisc = new PictureButton(QStringLiteral("btnCodFisc"), QStringLiteral("tb_check"), column, 26);
    hints.hint(btnCodFisc, QStringLiteral("Controlla il codice fiscale."));

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(14);
    grid->setVerticalSpacing(7);
    grid->addLayout(labelledField(F::label(F::Titolo), txtCapo), 0, 0, 1, 2);
    grid->addLayout(labelledField(F::label(F::Soggetto), txtDescrizione), 1, 0, 1, 2);
    grid->addLayout(labelledField(F::label(F::Artista), txtColore), 2, 0, 1, 1);
    grid->addLayout(labelledField(F::label(F::Anno), txtTessuto), 2, 1, 1, 1);
    grid->addLayout(labelledField(F::label(F::Nazione), txtMisure), 3, 0, 1, 1);
    grid->addLayout(labelledField(F::label(F::Tecnica), txtPeso), 3, 1, 1, 1);
    grid->addLayout(labelledField(F::label(F::Corrente), txtUsura), 4, 0, 1, 2);
    grid->addLayout(labelledField(F::label(F::Dimensioni), txtDifetti), 5, 0, 1, 2);
    grid->addLayout(labelledField(F::label(F::Supporto), txtServizio), 6, 0, 1, 2);
    grid->addLayout(labelledField(F::label(F::Luogo), txtSpecifiche), 7, 0, 1, 2);
    grid->addLayout(labelledField(F::label(F::Proprietario), txtCliente), 8, 0, 1, 2);
    grid->addLayout(labelledField(F::label(F::CodFisc), txtCodFisc, btnCodFisc), 9, 0, 1, 1);
    grid->addLayout(labelledField(F::label(F::Recapito), txtRecapito), 9, 1, 1, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(18, 10, 18, 14);
    layout->addWidget(title, 0, Qt::AlignLeft);
    layout->addSpacing(4);
    layout->addLayout(grid);
    layout->addStretch();
    return column;
}

QWidget* TfrmOpere::buildPhotoColumn(StatusHints& hints)
{
    auto* column = styledPanel(QStringLiteral("panFoto"), this);

    auto* mat = styledPanel(QStringLiteral("shpFoto"), column);
    imgFoto = new PictureFrame(QStringLiteral("imgFoto"), mat);
    imgFoto->setFixedSize(567, 378);
    imgBianco_ = new QLabel(mat);
    imgBianco_->setObjectName(QStringLiteral("imgBianco"));
    imgBianco_->setPixmap(style::pixmap(QStringLiteral("blank_opera")));
    imgBianco_->hide();
    auto* matLayout = new QVBoxLayout(mat);
    matLayout->setContentsMargins(10, 10, 10, 10);
    matLayout->addWidget(imgFoto);

    auto* photoButtons = new QHBoxLayout;
    photoButtons->setSpacing(2);
    auto addPhoto = [&](PictureButton*& b, const char* name, const char* pic, const char* hint,
                        const QString& caption = {}) {
        b = new PictureButton(QString::fromLatin1(name), QString::fromLatin1(pic), column, 28, caption);
        hints.hint(b, QString::fromUtf8(hint));
        photoButtons->addWidget(b);
    };
    addPhoto(btnCaricaFoto, "btnCaricaFoto", "ph_carica", "Carica una foto esistente.", QStringLiteral("Carica foto"));
    addPhoto(btnSalvaFoto, "btnSalvaFoto", "ph_salva", "Salva la foto su disco.");
    addPhoto(btnCancFoto, "btnCancFoto", "ph_canc", "Cancella la foto.");
    addPhoto(btnZoomFoto, "btnZoomFoto", "ph_zoom", "Visualizza la foto nelle sue dimensioni reali.");

    auto* boxPrezzo = styledPanel(QStringLiteral("shpPrezzo"), column);
    auto* lblPrezzo = fieldLabel(F::label(F::Valore), boxPrezzo);
    txtPrezzo = cardEdit(QStringLiteral("txtPrezzo"), F::typed(F::Valore), boxPrezzo);
    txtPrezzo->setProperty("fontRole", QStringLiteral("entryLarge"));
    txtPrezzo->setAlignment(Qt::AlignRight);
    txtPrezzo->setFixedWidth(180);
    // A formatted amount is shown whole with its comma and decimals; typing keeps to 15.
    limitTyping(txtPrezzo, F::typed(F::Valore));
    auto* prezzoLayout = new QHBoxLayout(boxPrezzo);
    prezzoLayout->setContentsMargins(8, 4, 8, 4);
    prezzoLayout->addWidget(lblPrezzo);
    prezzoLayout->addWidget(txtPrezzo);

    auto* boxSegnala = styledPanel(QStringLiteral("shpSegnala"), column);
    auto* icoSegnala = new QLabel(boxSegnala);
    icoSegnala->setObjectName(QStringLiteral("icoSegnala"));
    icoSegnala->setPixmap(style::pixmap(QStringLiteral("tb_segnalati"), QSize(28, 28)));
    chkSegnala = new QCheckBox(F::label(F::Venduta), boxSegnala);
    chkSegnala->setObjectName(QStringLiteral("chkSegnala"));
    hints.hint(chkSegnala,
               QString::fromUtf8("Spunta questa casella per annotare che l'opera d'arte \u00E8 stata venduta."));
    auto* segnalaLayout = new QHBoxLayout(boxSegnala);
    segnalaLayout->setContentsMargins(8, 4, 10, 4);
    segnalaLayout->addWidget(icoSegnala);
    segnalaLayout->addWidget(chkSegnala);

    auto* under = new QHBoxLayout;
    under->addLayout(photoButtons);
    under->addStretch();
    under->addWidget(boxPrezzo);
    under->addWidget(boxSegnala);

    txtNote = cardEdit(QStringLiteral("txtNote"), F::typed(F::Note), column);

    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(18, 14, 10, 14);
    layout->setSpacing(8);
    layout->addWidget(mat, 0, Qt::AlignLeft);
    layout->addLayout(under);
    layout->addWidget(fieldLabel(F::label(F::Note), column));
    layout->addWidget(txtNote);
    layout->addStretch();
    column->setFixedWidth(567 + 20 + 80);
    return column;
}
