#include "widgets/CardScreen.h"

#include "storage/IoError.h"
#include "widgets/Buttons.h"
#include "widgets/CardBrowse.h"
#include "widgets/CardParts.h"
#include "widgets/Messages.h"
#include "widgets/PictureFrame.h"
#include "widgets/StatusHints.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

CardScreen::CardScreen(Ui& ui, const Look& look, QWidget* parent)
    : QWidget(parent, Qt::Window), ui_(ui), look_(look), chrome_(new CardChrome(this))
{
    setObjectName(QString::fromLatin1(look.objectName));
    setWindowTitle(QString::fromUtf8(look.title));
    setProperty("card", true);
    panInfo = chrome_->panInfo;
    btnFocus = focusButton(this);
    slotLabels(this, lblFile, lblDesc);
}

CardScreen::~CardScreen()
{
    delete chrome_;
}

StatusHints& CardScreen::hints()
{
    return *chrome_->hints;
}

void CardScreen::buildToolbar(const std::function<void(CardChrome&)>& beforePrint,
                              const std::function<void(CardChrome&)>& afterBrowse)
{
    CardChrome& c = *chrome_;
    cmdNuovo = c.button("cmdNuovo", "tb_nuovo", look_.nuovoHint);
    cmdDuplica = c.button("cmdDuplica", "tb_duplica", look_.duplicaHint);
    cmdSalva = c.button("cmdSalva", "tb_salva", "Salva la scheda in archivio.");
    cmdTrova = c.button("cmdTrova", "tb_trova", "Trova una scheda in archivio.");
    c.spacing(12);
    cmdFile = c.button("cmdFile", "tb_allega", "Allega file alla scheda.", QStringLiteral("Allega file"));
    if (beforePrint)
        beforePrint(c);
    cmdStampa = c.button("cmdStampa", "tb_stampa", "Stampa la scheda.", QStringLiteral("Stampa"));
    cmdDocumentazione =
        c.button("cmdDocumentazione", "tb_documentazione",
                 "Documentazione fotografica: tutte le foto della scheda corrente, con fase e didascalia.");
    cmdCronologia =
        c.button("cmdCronologia", "tb_cronologia", "Cronologia: tutte le versioni salvate della scheda corrente.");
    c.stretch();
    const CardChrome::BrowseGroup group = c.browseGroup();
    cmdPrimo = group.first;
    cmdIndietro = group.previous;
    lblPosizione = group.position;
    cmdAvanti = group.next;
    cmdUltimo = group.last;
    c.stretch();
    if (afterBrowse)
        afterBrowse(c);
    c.spacing(12);
    cmdGuida = c.button("cmdGuida", "tb_guida", look_.guidaHint);
    cmdEsci = c.button("cmdEsci", "tb_esci", look_.esciHint);
}

void CardScreen::assemble(QWidget* body)
{
    buildTable();
    chrome_->assemble(body);
    // Every caption, field and decoration without a hint of its own empties the status line.
    chrome_->hints->blankOthers(this);
    connect(cmdNuovo, &QToolButton::clicked, this, &CardScreen::cmdNuovoClick);
    connect(cmdDuplica, &QToolButton::clicked, this, &CardScreen::cmdDuplicaClick);
    connect(cmdSalva, &QToolButton::clicked, this, &CardScreen::cmdSalvaClick);
    connect(cmdTrova, &QToolButton::clicked, this, &CardScreen::cmdTrovaClick);
    connect(cmdStampa, &QToolButton::clicked, this, &CardScreen::cmdStampaClick);
    connect(cmdFile, &QToolButton::clicked, this, &CardScreen::cmdFileClick);
    connect(cmdCronologia, &QToolButton::clicked, this, &CardScreen::cmdCronologiaClick);
    connect(cmdDocumentazione, &QToolButton::clicked, this, &CardScreen::cmdDocumentazioneClick);
    connect(cmdPrimo, &QToolButton::clicked, this, &CardScreen::cmdPrimoClick);
    connect(cmdIndietro, &QToolButton::clicked, this, &CardScreen::cmdIndietroClick);
    connect(cmdAvanti, &QToolButton::clicked, this, &CardScreen::cmdAvantiClick);
    connect(cmdUltimo, &QToolButton::clicked, this, &CardScreen::cmdUltimoClick);
    connect(cmdGuida, &QToolButton::clicked, this,
            [this] { emit helpRequested(this, QString::fromLatin1(look_.helpTopic)); });
    connect(cmdEsci, &QToolButton::clicked, this, &QWidget::close);
}

bool CardScreen::mayLeave()
{
    const QList<SidePart*> parts = sideParts(false);
    const bool edited =
        std::any_of(parts.begin(), parts.end(), [](const SidePart* p) { return !p->tag().isEmpty() && p->edited(); });
    return !edited || ui_.question(this, messages::kUnsavedDocumentation) == Ui::Answer::Yes;
}

void CardScreen::browse(Browse where)
{
    if (!mayLeave())
        return;
    browseCard(ui_, this, lblPosizione, archive(), where,
               [this](const QByteArray& record, qint64 k) { showStored(record, k); });
}

void CardScreen::cmdDuplicaClick()
{
    if (text::trim(lblPosizione->text()).isEmpty()) {
        ui_.message(this, Ui::Kind::Warning, messages::kDuplicateUnsaved);
        return;
    }
    if (!mayLeave())
        return;
    prepareDuplicate();
    clearSlots();
    lblPosizione->clear();
    forgetShown();
    restored_ = false;
    clearPhotos();
    firstField()->setFocus();
    ui_.message(this, Ui::Kind::Information, messages::kDuplicated);
}

void CardScreen::cmdSalvaClick()
{
    finishEditing(this, amountField(), btnFocus);

    if (const auto [control, warning] = missingField(); control) {
        ui_.message(this, Ui::Kind::Warning, warning);
        control->setFocus();
        return;
    }

    const QString position = text::trim(lblPosizione->text());
    RecordStore store = archive();
    if (!position.isEmpty() && savedElsewhere(store, position)
        && ui_.question(this, messages::kSavedElsewhere) != Ui::Answer::Yes)
        return;
    // The photos and what the card keeps beside its record are saved with it, as one.
    const QList<SidePart*> parts = sideParts(position.isEmpty());
    if (!position.isEmpty())
        for (const SidePart* part : parts) {
            const QString question = part->conflict(position.toLongLong());
            if (!question.isEmpty() && ui_.question(this, question) != Ui::Answer::Yes)
                return;
        }
    try {
        const journal::What what = restored_ ? journal::What::Ripristinata : journal::What::Modificata;
        const qint64 stored = store.save(cardBytes(), position, what, parts);
        lblPosizione->setText(QString::number(stored));
    } catch (const IoError& e) {
        ui_.message(this, look_.archiveFailure, e.diskFull() ? messages::kDiskFull : messages::kArchiveAccess,
                    e.cause());
        return;
    }
    rememberSaved();
    restored_ = false;
    saved(position.isEmpty());
    noteShown();
    QStringList notes;
    for (const SidePart* part : parts)
        if (!part->note().isEmpty())
            notes << part->note();
    if (!notes.isEmpty()) {
        ui_.message(this, Ui::Kind::Warning, notes.join(QStringLiteral("\n\n")));
        return;
    }
    ui_.message(this, Ui::Kind::Information, position.isEmpty() ? messages::kInserted : messages::kSavedChanges);
}

bool CardScreen::unsavedEdits() const
{
    const QList<SidePart*> parts = sideParts(false);
    return cardBytes() != shownBytes_ || photoKeys() != shownPhotos_
           || std::any_of(parts.begin(), parts.end(), [](const SidePart* p) { return p->edited(); });
}

void CardScreen::noteShown()
{
    shownBytes_ = cardBytes();
    shownPhotos_ = photoKeys();
}

// The photo frames' pictures: a picture put in a frame is a new image with a key of its own.
QList<qint64> CardScreen::photoKeys() const
{
    QList<qint64> keys;
    for (const PictureFrame* frame : findChildren<PictureFrame*>())
        keys << frame->image().cacheKey();
    return keys;
}

bool CardScreen::savedElsewhere(const RecordStore& store, const QString& position) const
{
    try {
        return changedSinceShown(store.read(position.toLongLong()));
    } catch (const IoError&) {
        return false; // the save itself will say that the archive cannot be used
    }
}

void CardScreen::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    if (e->spontaneous())
        return;
    // What a power failure took from the archive comes back from its history first.
    try {
        archive().recover();
    } catch (const IoError&) {
        // An archive that cannot be used says so at the first action on it.
    }
    opened();
}

void CardScreen::closeEvent(QCloseEvent* e)
{
    // Photos added to the documentation and not saved would go with the card: asked first.
    if (!mayLeave()) {
        e->ignore();
        return;
    }
    // The archive reaches the disk with every save's history before the launcher shows.
    try {
        archive().checkpoint();
    } catch (const IoError&) {
        // Its history holds every save: recover() puts back what a failure may take.
    }
    closing();
    e->accept();
    emit closed();
}
