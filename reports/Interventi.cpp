#include "reports/Interventi.h"

#include "attachments/AllegaCartella.h"
#include "documentation/Documentazione.h"
#include "history/Cronologia.h"
#include "printing/AnteprimaScheda.h"
#include "printing/StampaScheda.h"
#include "records/ReportArchive.h"
#include "records/ReportPhotos.h"
#include "records/SchedaOpera.h"
#include "reports/Calendario.h"
#include "reports/Logo.h"
#include "reports/Numerazione.h"
#include "reports/PhotoBox.h"
#include "reports/WebCam.h"
#include "search/DaSaldare.h"
#include "search/TrovaInterventi.h"
#include "search/TrovaOpere.h"
#include "storage/IniFile.h"
#include "storage/IoError.h"
#include "storage/PhotoFiles.h"
#include "storage/ProgramDir.h"
#include "storage/Text.h"
#include "widgets/Buttons.h"
#include "widgets/CardParts.h"
#include "widgets/Dialogs.h"
#include "widgets/Fields.h"
#include "widgets/InputLimits.h"
#include "widgets/Keys.h"
#include "widgets/Messages.h"
#include "widgets/PhotoActions.h"
#include "widgets/PictureFrame.h"
#include "widgets/Ui.h"

#include <QCheckBox>
#include <QFileInfo>

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <tuple>

namespace {
const QString kHeadingSection = QStringLiteral("Schede Interventi");
const QString kHeadingKey = QStringLiteral("Intestazione Azienda");

QString headingFile()
{
    return programdir::file(QStringLiteral("Brevanto.ini"));
}

const CardScreen::Look kLook = {
    "frmInterventi",
    " Brevanto - Relazioni Tecniche",
    "interventi",
    Ui::Kind::Plain,
    "Prepara la schermata per l'emissione di una nuova scheda.",
    "Prepara la schermata per l'emissione di una nuova scheda duplicando i dati correnti.",
    "Visualizza la guida in linea.",
    "Esci da questa schermata.",
};
} // namespace

TfrmInterventi::TfrmInterventi(Ui& ui, QWidget* parent)
    : Card(ui, kLook, parent), docs_(std::make_unique<documentation::WorkingSet>(documentation::Kind::Report))
{
    buildToolbar(
        [this](CardChrome& c) {
            cmdAnteprima = c.button("cmdAnteprima", "tb_anteprima", "Visualizza l'anteprima di stampa della scheda.");
        },
        [this](CardChrome& c) {
            cmdNonPagati = c.button("cmdNonPagati", "tb_nonpagati",
                                    "Visualizza il riepilogo dei conti non ancora saldati dai committenti.");
            cmdNumerazione = c.button("cmdNumerazione", "tb_numerazione",
                                      "Imposta il numero iniziale per la numerazione dei documenti.");
        });
    // The two photos beside the fields.
    auto* body = styledPanel(QStringLiteral("panBody"), this);
    auto* columns = new QHBoxLayout(body);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->addWidget(buildPhotos(hints()));
    columns->addWidget(buildFields(hints()), 1);
    lblInizio = new QLabel(this);
    lblInizio->setObjectName(QStringLiteral("lblInizio"));
    lblInizio->hide();
    photos_ = std::make_unique<FramePhotos>(QList<FramePhotos::Frame>{
        {1, foto1->imgFoto,
         [](qint64 position) { return reportphotos::path(reportphotos::Frame::A, QString::number(position)); }},
        {2, foto2->imgFoto,
         [](qint64 position) { return reportphotos::path(reportphotos::Frame::B, QString::number(position)); }}});
    wireFields();
    assemble(body);

    connect(cmdNumerazione, &QToolButton::clicked, this, &TfrmInterventi::cmdNumerazioneClick);
    connect(btnLogo, &QToolButton::clicked, this, &TfrmInterventi::btnLogoClick);
    connect(impCliente, &QToolButton::clicked, this, &TfrmInterventi::impClienteClick);
    connect(cmdNonPagati, &QToolButton::clicked, this, &TfrmInterventi::cmdNonPagatiClick);
    connect(cmdAnteprima, &QToolButton::clicked, this, &TfrmInterventi::cmdAnteprimaClick);
    connect(foto1, &PhotoBox::webcamRequested, this, [this] { openWebcam(foto1, QStringLiteral("foto01")); });
    connect(foto2, &PhotoBox::webcamRequested, this, [this] { openWebcam(foto2, QStringLiteral("foto02")); });
}

void TfrmInterventi::openWebcam(PhotoBox* box, const QString& mode)
{
    auto webcam = std::make_unique<TfrmWebCam>(ui_, this, box);
    webcam->lblMemory->setText(mode);
    execOnce(ui_, std::move(webcam));
}

QList<QLineEdit*> TfrmInterventi::chain() const
{
    return {txtNumScheda, txtData,    txtTecnico, txtAzienda,        txtPratica, txtCliente,    txtRecapito,
            txtVeicolo,   txtTarga,   txtMarca,   txtChilometraggio, txtDanni,   txtDataInizio, txtStato,
            txtDataFine,  txtVernice, txtRicambi, txtManodopera,     txtNote,    txtTotale};
}

void TfrmInterventi::wireFields()
{
    const QList<QLineEdit*> order = chain();
    for (qsizetype i = 0; i < order.size(); ++i) {
        QLineEdit* next = order[(i + 1) % order.size()];
        QWidget* target = order[i] == txtRicambi ? static_cast<QWidget*>(txtInterventi) : next;
        onEnter(order[i], [target] { target->setFocus(); });
    }
    QWidget* previous = nullptr;
    auto tab = [&](QWidget* w) {
        if (previous)
            setTabOrder(previous, w);
        previous = w;
    };
    for (QLineEdit* e : chain()) {
        if (e == txtManodopera)
            break;
        tab(e);
    }
    tab(txtInterventi);
    tab(txtManodopera);
    tab(chkPagato);
    tab(txtNote);
    tab(txtTotale);

    for (QLineEdit* d : {txtData, txtDataInizio, txtDataFine})
        wireDateField(d);
    makeAmountField(txtTotale);

    // A record field that fills its width, a dimension of up to 120 characters or a longer
    // imported one is shown whole; typing keeps to each field's limit.
    for (QLineEdit* e : chain())
        if (!e->isReadOnly())
            limitTyping(e, e->maxLength());
}

void TfrmInterventi::wireDateField(QLineEdit* field)
{
    class DateKeys : public QObject {
    public:
        DateKeys(TfrmInterventi* card, QLineEdit* f) : QObject(f), card_(card), field_(f) { }

    protected:
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() != QEvent::KeyPress)
                return false;
            auto* k = static_cast<QKeyEvent*>(e);
            switch (k->key()) {
            case Qt::Key_Backspace:
            case Qt::Key_Delete: field_->clear(); return true;
            case Qt::Key_Return:
            case Qt::Key_Enter:
            case Qt::Key_Tab:
            case Qt::Key_Backtab: return false; // the Enter chain and the focus order move on
            case Qt::Key_Shift:
            case Qt::Key_Control:
            case Qt::Key_Alt:
            case Qt::Key_Meta:
            case Qt::Key_AltGr:
            case Qt::Key_CapsLock: return true; // a lone modifier is not a request for the calendar
            default: card_->pickDate(field_); return true;
            }
        }

    private:
        TfrmInterventi* card_;
        QLineEdit* field_;
    };
    field->installEventFilter(new DateKeys(this, field));
}

void TfrmInterventi::pickDate(QLineEdit* field)
{
    auto picker = std::make_unique<TfrmCalendario>(ui_, this, field, today());
    picker->lblMemory->setText(field == txtData         ? QStringLiteral("interventi_data")
                               : field == txtDataInizio ? QStringLiteral("interventi_datainizio")
                                                        : QStringLiteral("interventi_datafine"));
    execOnce(ui_, std::move(picker));
}

QString TfrmInterventi::memoText() const
{
    return cardfields::value(txtInterventi);
}

QWidget* TfrmInterventi::firstField() const
{
    return txtNumScheda;
}

void TfrmInterventi::clearPhotos()
{
    foto1->clear();
    foto2->clear();
    docs_->load(0);
}

void TfrmInterventi::saved(bool newCard)
{
    if (newCard)
        docs_->load(text::trim(lblPosizione->text()).toLongLong()); // stored now: it may have documentation
}

void TfrmInterventi::loadPhotos()
{
    LoadReportPhotos();
    docs_->load(text::trim(lblPosizione->text()).toLongLong());
}

QList<SidePart*> TfrmInterventi::sideParts(bool newCard) const
{
    photos_->setNewCard(newCard);
    QList<SidePart*> parts{photos_.get()};
    if (docs_->position() > 0)
        parts << docs_.get();
    return parts;
}

void TfrmInterventi::cmdDocumentazioneClick()
{
    showDocumentation(
        ui_, this, lblPosizione->text(), *docs_, [this](QWidget* over) { return TfrmWebCam::captureStill(ui_, over); },
        helpFor(QStringLiteral("documentazione")));
}

void TfrmInterventi::ClearReportCard()
{
    // The laboratory heading stays: it is the same on every report.
    clearCard({txtAzienda});
}

void TfrmInterventi::ShowReportRecord(const TSchedaIntervento& r, qint64 n)
{
    showCard(r, n);
}

void TfrmInterventi::LoadReportPhotos()
{
    // Each frame on its own: a missing photo 2 must not blank photo 1, or a later save
    // would overwrite the stored photo 1 with its placeholder.
    const QString n = lblPosizione->text();
    const std::optional<QImage> a = reportphotos::load(reportphotos::Frame::A, n);
    foto1->imgFoto->setStoredImage(a ? *a : foto1->placeholder());
    const std::optional<QImage> b = reportphotos::load(reportphotos::Frame::B, n);
    foto2->imgFoto->setStoredImage(b ? *b : foto2->placeholder());
}

void TfrmInterventi::cmdTrovaClick()
{
    showList<TfrmTrovaInterventi>(ui_, this, shower(), mode());
}

void TfrmInterventi::impClienteClick()
{
    // The import: the work chosen fills the card's seven fields.
    showList<TfrmTrovaOpere>(
        ui_, this, [this](const TSchedaOpera& work, qint64) { importArtwork(work); }, QStringLiteral("interventi"));
}

void TfrmInterventi::cmdNonPagatiClick()
{
    showList<TfrmDaSaldare>(ui_, this, shower());
}

void TfrmInterventi::cmdFileClick()
{
    attachToCard(ui_, this, mode(), lblFile, lblDesc);
}

// The print and preview screens read the card as it stands: its fields and both photos.
template <class Screen> void TfrmInterventi::showDocument()
{
    execOnce(ui_, std::make_unique<Screen>(
                      ui_, this, fields_, [this] { return foto1->image(); }, [this] { return foto2->image(); },
                      docs_.get()));
}

void TfrmInterventi::cmdStampaClick()
{
    showDocument<TfrmStampaScheda>();
}

void TfrmInterventi::cmdAnteprimaClick()
{
    showDocument<TfrmAnteprimaScheda>();
}

void TfrmInterventi::cmdCronologiaClick()
{
    QStringList stored;
    for (auto frame : {reportphotos::Frame::A, reportphotos::Frame::B}) {
        const QString path = reportphotos::path(frame, lblPosizione->text());
        stored << (QFileInfo::exists(path) ? path : QString());
    }
    showCardHistory(
        ui_, *this, {1, 2}, stored,
        documentation::folder(documentation::Kind::Report, text::trim(lblPosizione->text()).toLongLong()),
        [this](const history::Version& v) {
            restoreVersion(v.entry.record, v.photos);
            restoreDocumentation(ui_, this, *docs_, v);
        },
        helpFor(QStringLiteral("cronologia")));
}

void TfrmInterventi::restorePhotos(const QStringList& photos)
{
    photoactions::restore(foto1->imgFoto, photos.value(0),
                          reportphotos::path(reportphotos::Frame::A, lblPosizione->text()), foto1->placeholder());
    photoactions::restore(foto2->imgFoto, photos.value(1),
                          reportphotos::path(reportphotos::Frame::B, lblPosizione->text()), foto2->placeholder());
}

void TfrmInterventi::importArtwork(const TSchedaOpera& work)
{
    using W = TSchedaOpera;
    using R = TSchedaIntervento;
    static const std::pair<W::Field, R::Field> kImported[] = {
        {W::Proprietario, R::Committente}, {W::Recapito, R::Recapito},
        {W::Titolo, R::TitoloOpera},       {W::Anno, R::Anno},
        {W::Tecnica, R::Tecnica},          {W::Artista, R::Artista},
        {W::Dimensioni, R::Dimensioni},
    };
    for (const auto& [from, to] : kImported)
        cardfields::setValue(cardfields::control(fields_, to), text::trim(work[from]));
}

void TfrmInterventi::cmdNumerazioneClick()
{
    auto numbering = std::make_unique<TfrmNumerazione>(ui_, this);
    numbering->lblMemory->setText(QStringLiteral("contratti"));
    execOnce(ui_, std::move(numbering));
}

void TfrmInterventi::btnLogoClick()
{
    execOnce(ui_, std::make_unique<TfrmLogo>(ui_, this));
}

void TfrmInterventi::opened()
{
    QString heading;
    try {
        heading = IniFile(headingFile()).read(kHeadingSection, kHeadingKey);
    } catch (const IoError&) {
        heading.clear(); // an unreadable settings file gives an empty heading
    }
    txtAzienda->setText(heading);
    txtNumScheda->clear();
    ClearReportCard();
}

void TfrmInterventi::closing()
{
    docs_->load(0); // what was not saved goes with the card
    try {
        IniFile(headingFile()).write(kHeadingSection, kHeadingKey, text::trim(txtAzienda->text()));
    } catch (const IoError&) {
        // The heading is only a convenience: a folder that cannot be written keeps the old one.
    }
}
