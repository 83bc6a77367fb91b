#include "catalogue/Opere.h"

#include "attachments/AllegaCartella.h"
#include "export/ExpOpere.h"
#include "history/Cronologia.h"
#include "printing/StampaOpera.h"
#include "records/ArtworkPhoto.h"
#include "search/Opere_Disponibili.h"
#include "search/TrovaOpere.h"
#include "storage/PhotoFiles.h"
#include "storage/Text.h"
#include "taxcodes/Checks.h"
#include "taxcodes/TaxCheck.h"
#include "widgets/Buttons.h"
#include "widgets/CardParts.h"
#include "widgets/Dialogs.h"
#include "widgets/Fields.h"
#include "widgets/Keys.h"
#include "widgets/PhotoActions.h"
#include "widgets/PictureFrame.h"

#include <QCheckBox>
#include <QDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace {
const CardScreen::Look kLook = {
    "frmOpere",
    " Brevanto - Archivio Opere",
    "opere",
    Ui::Kind::Error,
    "Prepara la schermata per l'inserimento di una nuova scheda.",
    "Prepara la schermata per l'inserimento di una nuova scheda duplicando i dati correnti.",
    "Visualizza la pagina della guida sensibile al contesto.",
    "Esci da questa schermata di lavoro.",
};
} // namespace

TfrmOpere::TfrmOpere(Ui& ui, QWidget* parent)
    : Card(ui, kLook, parent), docs_(std::make_unique<documentation::WorkingSet>(documentation::Kind::Artwork))
{
    buildToolbar({}, [this](CardChrome& c) {
        cmdEsporta = c.button("cmdEsporta", "tb_esporta", "Esporta le schede in archivio in un file di Excel.");
        cmdSegnalati =
            c.button("cmdSegnalati", "tb_segnalati", "Visualizza il riepilogo delle opere d'arte non vendute.");
    });
    // The photo column and the fields side by side, at most 1560 pixels wide, centred.
    auto* body = styledPanel(QStringLiteral("panBody"), this);
    auto* content = new QWidget(body);
    content->setMaximumWidth(1560);
    auto* columns = new QHBoxLayout(content);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->addWidget(buildPhotoColumn(hints()));
    columns->addWidget(buildFieldColumn(hints()), 1);
    auto* centred = new QHBoxLayout(body);
    centred->setContentsMargins(0, 0, 0, 0);
    centred->addStretch(0);
    centred->addWidget(content, 1, Qt::AlignVCenter);
    centred->addStretch(0);
    wireFields();
    photos_ = std::make_unique<FramePhotos>(QList<FramePhotos::Frame>{
        {0, imgFoto, [](qint64 position) { return artworkphoto::path(QString::number(position)); }}});
    assemble(body);
    imgFoto->setImage(blankPicture());

    connect(btnCaricaFoto, &QToolButton::clicked, this, &TfrmOpere::btnCaricaFotoClick);
    connect(btnSalvaFoto, &QToolButton::clicked, this, &TfrmOpere::btnSalvaFotoClick);
    connect(btnCancFoto, &QToolButton::clicked, this, &TfrmOpere::btnCancFotoClick);
    connect(btnZoomFoto, &QToolButton::clicked, this, &TfrmOpere::btnZoomFotoClick);
    connect(btnCodFisc, &QToolButton::clicked, this, &TfrmOpere::btnCodFiscClick);
    connect(cmdSegnalati, &QToolButton::clicked, this, &TfrmOpere::cmdSegnalatiClick);
    connect(cmdEsporta, &QToolButton::clicked, this, &TfrmOpere::cmdEsportaClick);
}

QList<QLineEdit*> TfrmOpere::enterChain() const
{
    return {txtCapo,     txtDescrizione, txtColore,  txtTessuto, txtMisure,   txtPeso, txtUsura, txtDifetti,
            txtServizio, txtSpecifiche,  txtCliente, txtCodFisc, txtRecapito, txtNote, txtPrezzo};
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
    keepCodeTyped(txtCodFisc);
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
    clearCard();
}

void TfrmOpere::ShowArtworkRecord(const TSchedaOpera& r, qint64 k)
{
    showCard(r, k);
}

void TfrmOpere::loadPhotos()
{
    const std::optional<QImage> photo = artworkphoto::load(lblPosizione->text());
    imgFoto->setStoredImage(photo ? *photo : blankPicture());
    docs_->load(text::trim(lblPosizione->text()).toLongLong());
}

void TfrmOpere::clearPhotos()
{
    imgFoto->setImage(blankPicture());
    docs_->load(0);
}

QList<SidePart*> TfrmOpere::sideParts(bool newCard) const
{
    photos_->setNewCard(newCard);
    QList<SidePart*> parts{photos_.get()};
    if (docs_->position() > 0)
        parts << docs_.get();
    return parts;
}

void TfrmOpere::cmdDocumentazioneClick()
{
    showDocumentation(ui_, this, lblPosizione->text(), *docs_, webcam, helpFor(QStringLiteral("documentazione")));
}

void TfrmOpere::saved(bool newCard)
{
    if (newCard)
        docs_->load(text::trim(lblPosizione->text()).toLongLong()); // stored now: it may have documentation
}

void TfrmOpere::closing()
{
    docs_->load(0); // what was not saved goes with the card
}

void TfrmOpere::cmdTrovaClick()
{
    showList<TfrmTrovaOpere>(ui_, this, shower(), mode());
}

void TfrmOpere::cmdSegnalatiClick()
{
    showList<TfrmOpere_Disponibili>(ui_, this, shower());
}

void TfrmOpere::cmdFileClick()
{
    attachToCard(ui_, this, mode(), lblFile, lblDesc);
}

void TfrmOpere::cmdStampaClick()
{
    execOnce(ui_, std::make_unique<TfrmStampaOpera>(
                      ui_, this, fields_, [this] { return imgFoto->image(); }, docs_.get()));
}

void TfrmOpere::cmdEsportaClick()
{
    execOnce(ui_, std::make_unique<TfrmExpOpere>(
                      ui_, this, [this](QWidget* over) { emit helpRequested(over, QStringLiteral("esporta")); }));
}

void TfrmOpere::cmdCronologiaClick()
{
    const QString stored = artworkphoto::path(lblPosizione->text());
    showCardHistory(
        ui_, *this, {0}, {QFileInfo::exists(stored) ? stored : QString()},
        documentation::folder(documentation::Kind::Artwork, text::trim(lblPosizione->text()).toLongLong()),
        [this](const history::Version& v) {
            restoreVersion(v.entry.record, v.photos);
            restoreDocumentation(ui_, this, *docs_, v);
        },
        helpFor(QStringLiteral("cronologia")));
}

void TfrmOpere::restorePhotos(const QStringList& photos)
{
    photoactions::restore(imgFoto, photos.value(0), artworkphoto::path(lblPosizione->text()), blankPicture());
}

void TfrmOpere::btnCodFiscClick()
{
    execOnce(ui_, taxCheckScreen(ui_, this, txtCodFisc->text()));
}
