// The artwork card's layout: toolbar, field column, photo column and status band.
#include "catalogue/Opere.h"

#include "common/CardParts.h"
#include "common/Messages.h"
#include "common/InputLimits.h"
#include "common/Buttons.h"
#include "common/PictureFrame.h"
#include "common/StatusHints.h"
#include "common/Fields.h"
#include "common/Style.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>


QWidget* TfrmOpere::buildFieldColumn(StatusHints& hints)
{
    auto* column = styledPanel(QStringLiteral("panCampi"), this);
    auto* title = new QLabel(column);
    title->setObjectName(QStringLiteral("imgTitolo"));
    title->setPixmap(QPixmap::fromImage(picture(QStringLiteral("title_opera"))));

    txtCapo = cardEdit(QStringLiteral("txtCapo"), 50, column);
    txtDescrizione = cardEdit(QStringLiteral("txtDescrizione"), 120, column);
    txtColore = cardEdit(QStringLiteral("txtColore"), 50, column);
    txtTessuto = cardEdit(QStringLiteral("txtTessuto"), 50, column);
    txtMisure = cardEdit(QStringLiteral("txtMisure"), 50, column);
    txtPeso = cardEdit(QStringLiteral("txtPeso"), 50, column);
    txtUsura = cardEdit(QStringLiteral("txtUsura"), 50, column);
    txtDifetti = cardEdit(QStringLiteral("txtDifetti"), 250, column);
    txtServizio = cardEdit(QStringLiteral("txtServizio"), 120, column);
    txtSpecifiche = cardEdit(QStringLiteral("txtSpecifiche"), 250, column);
    txtCliente = cardEdit(QStringLiteral("txtCliente"), 50, column);
    txtCodFisc = cardEdit(QStringLiteral("txtCodFisc"), 16, column);
    txtRecapito = cardEdit(QStringLiteral("txtRecapito"), 30, column);
    btnCodFisc = new PictureButton(QStringLiteral("btnCodFisc"), QStringLiteral("tb_check"), column, 26);
    hints.hint(btnCodFisc, QStringLiteral("Controlla il codice fiscale."));

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(14);
    grid->setVerticalSpacing(7);
    grid->addLayout(labelledField(QStringLiteral("Titolo opera:"), txtCapo), 0, 0, 1, 2);
    grid->addLayout(labelledField(QStringLiteral("Soggetto rappresentato:"), txtDescrizione), 1, 0, 1, 2);
    grid->addLayout(labelledField(QStringLiteral("Artista:"), txtColore), 2, 0, 1, 1);
    grid->addLayout(labelledField(QStringLiteral("Anno realizzazione:"), txtTessuto), 2, 1, 1, 1);
    grid->addLayout(labelledField(QStringLiteral("Nazione:"), txtMisure), 3, 0, 1, 1);
    grid->addLayout(labelledField(QStringLiteral("Tecnica utilizzata:"), txtPeso), 3, 1, 1, 1);
    grid->addLayout(labelledField(QStringLiteral("Corrente artistica:"), txtUsura), 4, 0, 1, 2);
    grid->addLayout(labelledField(QStringLiteral("Dimensioni:"), txtDifetti), 5, 0, 1, 2);
    grid->addLayout(labelledField(QStringLiteral("Supporto:"), txtServizio), 6, 0, 1, 2);
    grid->addLayout(labelledField(QStringLiteral("Luogo conservazione:"), txtSpecifiche), 7, 0, 1, 2);
    grid->addLayout(labelledField(QStringLiteral("Proprietario attuale:"), txtCliente), 8, 0, 1, 2);
    grid->addLayout(labelledField(QStringLiteral("Codice fiscale:"), txtCodFisc, btnCodFisc), 9, 0, 1, 1);
    grid->addLayout(labelledField(QStringLiteral("Tel. preferenziale:"), txtRecapito), 9, 1, 1, 1);
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
    imgBianco_->setPixmap(QPixmap::fromImage(picture(QStringLiteral("blank_opera"))));
    imgBianco_->hide();
    auto* matLayout = new QVBoxLayout(mat);
    matLayout->setContentsMargins(10, 10, 10, 10);
    matLayout->addWidget(imgFoto);

    auto* photoButtons = new QHBoxLayout;
    photoButtons->setSpacing(2);
    auto addPhoto = [&](PictureButton*& b, const char* name, const char* pic, const char* hint, const QString& caption = {}) {
        b = new PictureButton(QString::fromLatin1(name), QString::fromLatin1(pic), column, 28, caption);
        hints.hint(b, QString::fromUtf8(hint));
        photoButtons->addWidget(b);
    };
    addPhoto(btnCaricaFoto, "btnCaricaFoto", "ph_carica", "Carica una foto esistente.", QStringLiteral("Carica foto"));
    addPhoto(btnSalvaFoto, "btnSalvaFoto", "ph_salva", "Salva la foto su disco.");
    addPhoto(btnCancFoto, "btnCancFoto", "ph_canc", "Cancella la foto.");
    addPhoto(btnZoomFoto, "btnZoomFoto", "ph_zoom", "Visualizza la foto nelle sue dimensioni reali.");

    auto* boxPrezzo = styledPanel(QStringLiteral("shpPrezzo"), column);
    auto* lblPrezzo = fieldLabel(QString::fromUtf8("Valore: \u20AC"), boxPrezzo);
    txtPrezzo = cardEdit(QStringLiteral("txtPrezzo"), 15, boxPrezzo);
    txtPrezzo->setFont(QFont(QStringLiteral("Verdana"), 14, QFont::Bold));
    txtPrezzo->setAlignment(Qt::AlignRight);
    txtPrezzo->setFixedWidth(180);
    // A formatted amount is shown whole with its comma and decimals; typing keeps to 15.
    limitTyping(txtPrezzo, 15);
    auto* prezzoLayout = new QHBoxLayout(boxPrezzo);
    prezzoLayout->setContentsMargins(8, 4, 8, 4);
    prezzoLayout->addWidget(lblPrezzo);
    prezzoLayout->addWidget(txtPrezzo);

    auto* boxSegnala = styledPanel(QStringLiteral("shpSegnala"), column);
    auto* icoSegnala = new QLabel(boxSegnala);
    icoSegnala->setObjectName(QStringLiteral("icoSegnala"));
    icoSegnala->setPixmap(QPixmap::fromImage(picture(QStringLiteral("tb_segnalati")).scaled(28, 28, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    chkSegnala = new QCheckBox(QStringLiteral("Venduta"), boxSegnala);
    chkSegnala->setObjectName(QStringLiteral("chkSegnala"));
    hints.hint(chkSegnala, QString::fromUtf8("Spunta questa casella per annotare che l'opera d'arte \u00E8 stata venduta."));
    auto* segnalaLayout = new QHBoxLayout(boxSegnala);
    segnalaLayout->setContentsMargins(8, 4, 10, 4);
    segnalaLayout->addWidget(icoSegnala);
    segnalaLayout->addWidget(chkSegnala);

    auto* under = new QHBoxLayout;
    under->addLayout(photoButtons);
    under->addStretch();
    under->addWidget(boxPrezzo);
    under->addWidget(boxSegnala);

    txtNote = cardEdit(QStringLiteral("txtNote"), 250, column);

    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(18, 14, 10, 14);
    layout->setSpacing(8);
    layout->addWidget(mat, 0, Qt::AlignLeft);
    layout->addLayout(under);
    layout->addWidget(fieldLabel(QStringLiteral("Note:"), column));
    layout->addWidget(txtNote);
    layout->addStretch();
    column->setFixedWidth(567 + 20 + 80);
    return column;
}
