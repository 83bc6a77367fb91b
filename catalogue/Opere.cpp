#include "catalogue/Opere.h"

#include "attachments/AllegaCartella.h"
#include "common/CardParts.h"
#include "common/Buttons.h"
#include "common/Fields.h"
#include "common/Keys.h"
#include "common/PictureFrame.h"
#include "common/Dialogs.h"
#include "export/ExpOpere.h"
#include "printing/StampaOpera.h"
#include "records/ArtworkPhoto.h"
#include "search/Opere_Disponibili.h"
#include "search/TrovaOpere.h"
#include "taxcodes/Checks.h"
#include "taxcodes/TaxCheck.h"

#include <QCheckBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

TfrmOpere::TfrmOpere(Ui& ui, QWidget* parent)
    : Card(ui, {"frmOpere", " Brevanto - Archivio Opere", "opere", Ui::Kind::Error}, parent)
{
    buildToolbar({"Prepara la schermata per l'inserimento di una nuova scheda.",
                  "Prepara la schermata per l'inserimento di una nuova scheda duplicando i dati correnti.",
                  "Visualizza la pagina della guida sensibile al contesto.", "Esci da questa schermata di lavoro."},
                 {},
                 [this](CardChrome& c) {
                     cmdEsporta = c.button("cmdEsporta", "tb_esporta", "Esporta le schede in archivio in un file di Excel.");
                     cmdSegnalati = c.button("cmdSegnalati", "tb_segnalati",
                                             "Visualizza il riepilogo delle opere d'arte non vendute.");
                 });

    auto* body = new QWidget(this);
    body->setObjectName(QStringLiteral("panBody"));
    body->setAttribute(Qt::WA_StyledBackground);
    auto* content = new QWidget(body);
    content->setMaximumWidth(1560);
    auto* contentLayout = new QHBoxLayout(content);
    contentLayout->setContentsMargins(0, 0, 0, 0);
    contentLayout->addWidget(buildPhotoColumn(hints()));
    contentLayout->addWidget(buildFieldColumn(hints()), 1);
    auto* bodyLayout = new QHBoxLayout(body);
    bodyLayout->setContentsMargins(0, 0, 0, 0);
    bodyLayout->addStretch(0);
    bodyLayout->addWidget(content, 1, Qt::AlignVCenter);
    bodyLayout->addStretch(0);

    buildFieldTable();
    wireFields();
    assemble(body);
    imgFoto->setImage(blankPicture());

    connect(btnCaricaFoto, &QToolButton::clicked, this, &TfrmOpere::btnCaricaFotoClick);
    connect(btnSalvaFoto, &QToolButton::clicked, this, &TfrmOpere::btnSalvaFotoClick);
    connect(btnCancFoto, &QToolButton::clicked, this, &TfrmOpere::btnCancFotoClick);
    connect(btnZoomFoto, &QToolButton::clicked, this, &TfrmOpere::btnZoomFotoClick);
    connect(btnCodFisc, &QToolButton::clicked, this, &TfrmOpere::btnCodFiscClick);
    connect(cmdTrova, &QToolButton::clicked, this, &TfrmOpere::cmdTrovaClick);
    connect(cmdSegnalati, &QToolButton::clicked, this, &TfrmOpere::cmdSegnalatiClick);
    connect(cmdStampa, &QToolButton::clicked, this, &TfrmOpere::cmdStampaClick);
    connect(cmdFile, &QToolButton::clicked, this, &TfrmOpere::cmdFileClick);
    connect(cmdEsporta, &QToolButton::clicked, this, &TfrmOpere::cmdEsportaClick);
}

void TfrmOpere::buildFieldTable()
{
    auto need = [](const char* what) {
        return QStringLiteral("Attenzione: per salvare la scheda \u00E8 necessario indicare ") + QString::fromUtf8(what);
    };
    using F = TSchedaOpera;
    fields_ = {
        {F::Titolo, txtCapo, need("il titolo dell'opera.")},
        {F::Soggetto, txtDescrizione, {}},
        {F::Artista, txtColore, need("il nome dell'artista creatore dell'opera.")},
        {F::Anno, txtTessuto, need("l'anno di realizzazione dell'opera.")},
        {F::Nazione, txtMisure, {}},
        {F::Tecnica, txtPeso, {}},
        {F::Corrente, txtUsura, {}},
        {F::Dimensioni, txtDifetti, {}},
        {F::Supporto, txtServizio, {}},
        {F::Luogo, txtSpecifiche, {}},
        {F::Proprietario, txtCliente, need("il proprietario attuale dell'opera.")},
        {F::CodFisc, txtCodFisc, {}},
        {F::Recapito, txtRecapito, {}},
        {F::Note, txtNote, {}},
        {F::Valore, txtPrezzo, {}},
        {F::Venduta, chkSegnala, {}},
    };
    addSlotFields();
}

QList<QLineEdit*> TfrmOpere::enterChain() const
{
    return {txtCapo, txtDescrizione, txtColore, txtTessuto, txtMisure, txtPeso, txtUsura, txtDifetti,
            txtServizio, txtSpecifiche, txtCliente, txtCodFisc, txtRecapito, txtNote, txtPrezzo};
}

void TfrmOpere::wireFields()
{
    const QList<QLineEdit*> chain = enterChain();
    for (qsizetype i = 0; i < chain.size(); ++i)
        onEnter(chain[i], [next = chain[(i + 1) % chain.size()]] { next->setFocus(); });

    QWidget* previous = nullptr;
    for (QLineEdit* e : chain) {
        if (previous)
            setTabOrder(previous, e);
        previous = e;
        if (e == txtNote) {
            setTabOrder(txtNote, chkSegnala);
            previous = chkSegnala;
        }
    }

    makeAmountField(txtPrezzo);

    filterKeys(txtCodFisc, [](int, const QString& t) { return t.size() == 1 && taxcodes::isCodeCharacter(t.at(0)); });
    connect(txtCodFisc, &QLineEdit::textEdited, this, [this](const QString& t) {
        const QString code = taxcodes::typedCode(t);
        if (code == t)
            return;
        const int cursor = txtCodFisc->cursorPosition();
        txtCodFisc->setText(code);
        txtCodFisc->setCursorPosition(qMin(cursor, int(code.size())));
    });
}

QImage TfrmOpere::blankPicture() const
{
    return imgBianco_->pixmap().toImage();
}

QWidget* TfrmOpere::firstField() const
{
    return txtCapo;
}

void TfrmOpere::ClearArtworkCard()
{
    cardfields::clearAll(fields_);
    txtPrezzo->setText(QStringLiteral("0,00"));
    imgFoto->setImage(blankPicture());
    lblPosizione->clear();
    txtCapo->setFocus();
}

void TfrmOpere::ShowArtworkRecord(const TSchedaOpera& r, qint64 k)
{
    cardfields::show(fields_, r);
    lblPosizione->setText(QString::number(k));
    loadPhoto();
}

void TfrmOpere::loadPhoto()
{
    const std::optional<QImage> photo = artworkphoto::load(lblPosizione->text());
    imgFoto->setStoredImage(photo ? *photo : blankPicture());
}

void TfrmOpere::clearPhotos()
{
    imgFoto->setImage(blankPicture());
}

void TfrmOpere::savePhotos(bool newCard)
{
    if ((newCard || imgFoto->isChanged()) &&
        artworkphoto::save(imgFoto->image(), imgFoto->fileBytes(), lblPosizione->text()))
        imgFoto->markStored();
}

void TfrmOpere::cmdTrovaClick()
{
    auto search = std::make_unique<TfrmTrovaOpere>(ui_, this, [this](const TSchedaOpera& r, qint64 k) { ShowArtworkRecord(r, k); });
    search->lblMemory->setText(QStringLiteral("opere"));
    execOnce(ui_, std::move(search));
}

void TfrmOpere::cmdSegnalatiClick()
{
    execOnce(ui_, std::make_unique<TfrmOpere_Disponibili>(ui_, this, [this](const TSchedaOpera& r, qint64 k) {
                 ShowArtworkRecord(r, k);
             }));
}

void TfrmOpere::cmdFileClick()
{
    attachToCard(ui_, this, QStringLiteral("opere"), lblFile, lblDesc);
}

void TfrmOpere::cmdStampaClick()
{
    execOnce(ui_, std::make_unique<TfrmStampaOpera>(ui_, this, fields_, [this] { return imgFoto->image(); }));
}

void TfrmOpere::cmdEsportaClick()
{
    execOnce(ui_, std::make_unique<TfrmExpOpere>(ui_, this, [this](QWidget* over) {
                 emit helpRequested(over, QStringLiteral("esporta"));
             }));
}

void TfrmOpere::btnCodFiscClick()
{
    execOnce(ui_, taxCheckScreen(ui_, this, txtCodFisc->text()));
}
