#include "catalogue/Opere.h"

#include "records/ArtworkArchive.h"
#include "records/ArtworkPhoto.h"
#include "attachments/AllegaCartella.h"
#include "common/CardBrowse.h"
#include "common/CardParts.h"
#include "common/Messages.h"
#include "common/Style.h"
#include "common/Text.h"
#include "common/Ui.h"
#include "common/Widgets.h"
#include "export/ExpOpere.h"
#include "printing/StampaOpera.h"
#include "search/Opere_Disponibili.h"
#include "search/TrovaOpere.h"
#include "taxcodes/CodFisc.h"
#include "taxcodes/PartitaIVA.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TfrmOpere::TfrmOpere(Ui& ui, QWidget* parent) : QWidget(parent, Qt::Window), ui_(ui)
{
    style::applyProgramSettings();
    setObjectName(QStringLiteral("frmOpere"));
    setWindowTitle(QStringLiteral(" Brevanto - Archivio Opere"));

    CardChrome chrome(this);
    panInfo = chrome.panInfo;
    buildToolbar(chrome);

    auto* body = new QWidget(this);
    body->setObjectName(QStringLiteral("panBody"));
    body->setAttribute(Qt::WA_StyledBackground);
    auto* content = new QWidget(body);
    content->setMaximumWidth(1560);
    auto* contentLayout = new QHBoxLayout(content);
    contentLayout->setContentsMargins(0, 0, 0, 0);
    contentLayout->addWidget(buildPhotoColumn(*chrome.hints));
    contentLayout->addWidget(buildFieldColumn(*chrome.hints), 1);
    auto* bodyLayout = new QHBoxLayout(body);
    bodyLayout->setContentsMargins(0, 0, 0, 0);
    bodyLayout->addStretch(0);
    bodyLayout->addWidget(content, 1, Qt::AlignVCenter);
    bodyLayout->addStretch(0);
    chrome.assemble(body);

    btnFocus = focusButton(this);
    slotLabels(this, lblFile, lblDesc);

    // The background, panels, frames, photo and decorations empty the status line.
    for (const char* name : {"panCampi", "panFoto", "shpFoto", "imgFoto", "imgTitolo", "shpPrezzo", "shpSegnala",
                             "icoSegnala"})
        chrome.hints->blank(findChild<QWidget*>(QString::fromLatin1(name)));

    buildFieldTable();
    wireFields();
    chrome.hints->blankOthers(this);
    imgFoto->setImage(blankPicture());

    connect(cmdNuovo, &QToolButton::clicked, this, &TfrmOpere::cmdNuovoClick);
    connect(cmdDuplica, &QToolButton::clicked, this, &TfrmOpere::cmdDuplicaClick);
    connect(cmdSalva, &QToolButton::clicked, this, &TfrmOpere::cmdSalvaClick);
    connect(btnCaricaFoto, &QToolButton::clicked, this, &TfrmOpere::btnCaricaFotoClick);
    connect(btnSalvaFoto, &QToolButton::clicked, this, &TfrmOpere::btnSalvaFotoClick);
    connect(btnCancFoto, &QToolButton::clicked, this, &TfrmOpere::btnCancFotoClick);
    connect(btnZoomFoto, &QToolButton::clicked, this, &TfrmOpere::btnZoomFotoClick);
    connect(btnCodFisc, &QToolButton::clicked, this, &TfrmOpere::btnCodFiscClick);
    connect(cmdPrimo, &QToolButton::clicked, this, &TfrmOpere::cmdPrimoClick);
    connect(cmdIndietro, &QToolButton::clicked, this, &TfrmOpere::cmdIndietroClick);
    connect(cmdAvanti, &QToolButton::clicked, this, &TfrmOpere::cmdAvantiClick);
    connect(cmdUltimo, &QToolButton::clicked, this, &TfrmOpere::cmdUltimoClick);
    connect(cmdTrova, &QToolButton::clicked, this, &TfrmOpere::cmdTrovaClick);
    connect(cmdSegnalati, &QToolButton::clicked, this, &TfrmOpere::cmdSegnalatiClick);
    connect(cmdStampa, &QToolButton::clicked, this, &TfrmOpere::cmdStampaClick);
    connect(cmdFile, &QToolButton::clicked, this, &TfrmOpere::cmdFileClick);
    connect(cmdEsporta, &QToolButton::clicked, this, &TfrmOpere::cmdEsportaClick);
    connect(cmdEsci, &QToolButton::clicked, this, &QWidget::close);
    connect(cmdGuida, &QToolButton::clicked, this, [this] { emit helpRequested(this, QStringLiteral("opere")); });
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
    for (int i = 0; i < 3; ++i) {
        fields_.push_back({F::File01 + i, lblFile[size_t(i)], {}});
        fields_.push_back({F::Desc01 + i, lblDesc[size_t(i)], {}});
    }
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

    filterKeys(txtCodFisc, [](int, const QString& t) {
        if (t.size() != 1)
            return false;
        const char16_t c = t.at(0).unicode();
        return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
    });
    connect(txtCodFisc, &QLineEdit::textEdited, this, [this](const QString& t) {
        const QString upper = text::trim(text::upperAscii(t));
        if (upper == t)
            return;
        const int cursor = txtCodFisc->cursorPosition();
        txtCodFisc->setText(upper);
        txtCodFisc->setCursorPosition(qMin(cursor, int(upper.size())));
    });
}

QImage TfrmOpere::blankPicture() const
{
    return imgBianco_->pixmap().toImage();
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

void TfrmOpere::browse(Browse where)
{
    browseCard(ui_, this, lblPosizione, ArtworkArchive(), where,
               [this](const QByteArray& bytes, qint64 k) { ShowArtworkRecord(TSchedaOpera::decode(bytes.constData()), k); });
}

void TfrmOpere::cmdPrimoClick() { browse(Browse::First); }
void TfrmOpere::cmdIndietroClick() { browse(Browse::Previous); }
void TfrmOpere::cmdAvantiClick() { browse(Browse::Next); }
void TfrmOpere::cmdUltimoClick() { browse(Browse::Last); }

void TfrmOpere::cmdTrovaClick()
{
    auto* search = new TfrmTrovaOpere(ui_, this, [this](const TSchedaOpera& r, qint64 k) { ShowArtworkRecord(r, k); });
    search->lblMemory->setText(QStringLiteral("opere"));
    execOnce(ui_, search);
}

void TfrmOpere::cmdSegnalatiClick()
{
    auto* unsold = new TfrmOpere_Disponibili(ui_, this, [this](const TSchedaOpera& r, qint64 k) { ShowArtworkRecord(r, k); });
    execOnce(ui_, unsold);
}

void TfrmOpere::cmdFileClick()
{
    auto* attach = new TfrmAllegaCartella(ui_, this, lblFile, lblDesc);
    attach->lblMemory->setText(QStringLiteral("opere"));
    execOnce(ui_, attach);
}

void TfrmOpere::cmdStampaClick()
{
    auto* print = new TfrmStampaOpera(ui_, this, fields_, [this] { return imgFoto->image(); });
    execOnce(ui_, print);
}

void TfrmOpere::cmdEsportaClick()
{
    auto* exporting = new TfrmExpOpere(ui_, this, [this](QWidget* over) { emit helpRequested(over, QStringLiteral("esporta")); });
    execOnce(ui_, exporting);
}

void TfrmOpere::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    if (!e->spontaneous())
        ClearArtworkCard();
}

void TfrmOpere::closeEvent(QCloseEvent* e)
{
    e->accept();
    emit closed();
}

void TfrmOpere::btnCodFiscClick()
{
    const QString code = text::trim(txtCodFisc->text());
    bool digits = !code.isEmpty();
    for (QChar c : code)
        digits = digits && c >= u'0' && c <= u'9';
    TaxCheckDialog* check = nullptr;
    if (digits) {
        auto* iva = new TfrmPartitaIva(ui_, this);
        iva->txtPartitaIva->setText(code);
        check = iva;
    } else {
        auto* cf = new TfrmCodFisc(ui_, this);
        cf->txtCodFisc->setText(code);
        check = cf;
    }
    execOnce(ui_, check);
}
