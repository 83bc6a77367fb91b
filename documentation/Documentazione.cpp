#include "documentation/Documentazione.h"

#include "documentation/PhotoModel.h"
#include "documentation/Thumbnails.h"
#include "storage/PhotoFiles.h"
#include "storage/Text.h"
#include "widgets/Dialogs.h"
#include "widgets/Keys.h"
#include "widgets/Messages.h"
#include "widgets/PhotoActions.h"
#include "widgets/PictureFrame.h"
#include "widgets/Ui.h"
#include "widgets/WindowPlace.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QShowEvent>
#include <QTimer>
#include <QTransform>
#include <QVBoxLayout>

using documentation::Imported;
using documentation::PhotoModel;

namespace {
const QString kAllPhases = QStringLiteral("Tutte le fasi");
const QString kRemoveQuestion =
    QStringLiteral("Rimuovere la foto scelta dalla documentazione? La foto resta nella cronologia della scheda.");
// The chosen photo's preview is asked for under its own key, beside the thumbnails.
constexpr quint64 kPreview = quint64(1) << 63;
constexpr int kPreviewSide = 640;
const QDate kNoDate(1800, 1, 1);
// Where Brevanto.ini keeps the screen's size and place.
const QString kPlace = QStringLiteral("Documentazione");

QLabel* fieldCaption(const QString& text, QWidget* buddy, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setProperty("field", true);
    l->setBuddy(buddy);
    return l;
}

QImage turnedBy(const QImage& image, int turns)
{
    return turns == 0 ? image : image.transformed(QTransform().rotate(90 * turns));
}
} // namespace

TfrmDocumentazione::TfrmDocumentazione(Ui& ui, QWidget* parent, documentation::WorkingSet& set, Capture webcam,
                                       std::function<void(QWidget*)> help)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                          | Qt::WindowMaximizeButtonHint),
      ui_(ui), set_(set), webcam_(std::move(webcam))
{
    setObjectName(QStringLiteral("frmDocumentazione"));
    setWindowTitle(QStringLiteral(" Documentazione fotografica"));
    setProperty("listScreen", true);
    loader_ = new ThumbnailLoader(this);
    importer_ = new documentation::Importer(this);
    model_ = new PhotoModel(set_, *loader_, this);

    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("panContainer"));
    panel->setAttribute(Qt::WA_StyledBackground);
    auto* banner = new QLabel(QStringLiteral("Documentazione fotografica"), panel);
    banner->setObjectName(QStringLiteral("imgBanner"));
    banner->setProperty("listBanner", true);
    banner->setFixedHeight(46);
    auto* explain = new QLabel(
        QStringLiteral(
            "Tutte le foto della scheda, raggruppate per fase. Si aggiungono con \u00ABAggiungi foto\u2026\u00BB "
            "o trascinandole qui dalla cartella; si riordinano trascinandole o con \u00ABSu\u00BB e "
            "\u00ABGi\u00F9\u00BB. Le modifiche si archiviano con la scheda, premendo \u00ABSalva\u00BB."),
        panel);
    explain->setObjectName(QStringLiteral("icoIstruzioni"));
    explain->setProperty("listHelp", true);
    explain->setWordWrap(true);
    lblAvviso = new QLabel(panel);
    lblAvviso->setObjectName(QStringLiteral("lblAvviso"));
    lblAvviso->setWordWrap(true);
    lblAvviso->setVisible(false);
    btnRiprendiFoto = new QPushButton(QStringLiteral("Riprendi le foto"), panel);
    btnRiprendiFoto->setObjectName(QStringLiteral("btnRiprendiFoto"));
    btnRiprendiFoto->setToolTip(
        QStringLiteral("Rimette nella documentazione le foto della cartella che l'elenco non nomina."));
    btnRiprendiFoto->setVisible(false);

    cboFase = new QComboBox(panel);
    cboFase->setObjectName(QStringLiteral("cboFase"));
    cboFase->addItem(kAllPhases);
    cboFase->addItems(documentation::phases(set_.kind()));
    lstFoto = new documentation::PhotoListView(panel);
    lstFoto->setObjectName(QStringLiteral("lstFoto"));
    lstFoto->setModel(model_);
    lblStato = new QLabel(panel);
    lblStato->setObjectName(QStringLiteral("lblStato"));
    lblStato->setProperty("listHelp", true);
    btnChiudi = new QPushButton(QStringLiteral("Chiudi"), panel);
    btnChiudi->setObjectName(QStringLiteral("btnChiudi"));
    dialogButton(btnChiudi);
    btnChiudi->setMinimumWidth(120);

    auto* filter = new QHBoxLayout;
    filter->addWidget(fieldCaption(QStringLiteral("Fase:"), cboFase, panel));
    filter->addWidget(cboFase);
    filter->addStretch();
    auto* middle = new QHBoxLayout;
    middle->addWidget(lstFoto, 1);
    middle->addWidget(buildDetails());
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(lblStato, 1);
    bottom->addWidget(btnChiudi);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(14, 10, 14, 12);
    layout->setSpacing(8);
    layout->addWidget(banner);
    layout->addWidget(explain);
    auto* notice = new QHBoxLayout;
    notice->addWidget(lblAvviso, 1);
    notice->addWidget(btnRiprendiFoto, 0, Qt::AlignTop);
    layout->addLayout(notice);
    layout->addLayout(filter);
    layout->addLayout(middle, 1);
    layout->addLayout(bottom);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(panel);

    setTabOrder(cboFase, lstFoto);
    setTabOrder(lstFoto, cboFaseFoto);
    setTabOrder(cboFaseFoto, dtpData);
    setTabOrder(dtpData, txtDidascalia);
    setTabOrder(txtDidascalia, btnAggiungi);
    QWidget* previous = btnAggiungi;
    for (QWidget* w : {btnWebcam, btnRimuovi, btnRuota, btnSu, btnGiu, static_cast<QPushButton*>(btnChiudi)}) {
        setTabOrder(previous, w);
        previous = w;
    }

    connect(cboFase, &QComboBox::activated, this, [this](int i) {
        model_->setFilter(i <= 0 ? QString() : cboFase->itemText(i));
        choose(model_->idAt(1));
        wantVisible();
    });
    connect(lstFoto->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { showChosen(); });
    connect(lstFoto, &QAbstractItemView::activated, this, &TfrmDocumentazione::zoom); // Enter and double click
    connect(model_, &PhotoModel::moved, this, &TfrmDocumentazione::choose);
    connect(model_, &PhotoModel::filesDropped, this, &TfrmDocumentazione::addFiles);
    // Thumbnails arrive by the hundred: the state line follows them a few times a second, not
    // once for each (every change of its text lays the window out again).
    auto* thumbnailsArrived = new QTimer(this);
    thumbnailsArrived->setSingleShot(true);
    thumbnailsArrived->setInterval(100);
    connect(thumbnailsArrived, &QTimer::timeout, this, &TfrmDocumentazione::updateState);
    connect(model_, &PhotoModel::thumbnailsChanged, thumbnailsArrived, [thumbnailsArrived] {
        if (!thumbnailsArrived->isActive())
            thumbnailsArrived->start();
    });
    connect(importer_, &documentation::Importer::imported, this, &TfrmDocumentazione::imported);
    connect(importer_, &documentation::Importer::finished, this, &TfrmDocumentazione::additionsFinished);
    connect(loader_, &ThumbnailLoader::ready, this, [this](quint64 key, const QImage& image) {
        const documentation::Item* item = set_.find(previewFor_);
        if (key == (kPreview | previewFor_) && item && !image.isNull())
            imgAnteprima->setStoredImage(turnedBy(image, item->turns));
    });
    // What scrolls into view gets its thumbnail before what was asked for earlier.
    auto* scrolled = new QTimer(this);
    scrolled->setSingleShot(true);
    scrolled->setInterval(60);
    connect(scrolled, &QTimer::timeout, this, &TfrmDocumentazione::wantVisible);
    connect(lstFoto->verticalScrollBar(), &QScrollBar::valueChanged, scrolled, qOverload<>(&QTimer::start));
    connect(btnChiudi, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnAggiungi, &QPushButton::clicked, this, &TfrmDocumentazione::btnAggiungiClick);
    connect(btnWebcam, &QPushButton::clicked, this, &TfrmDocumentazione::btnWebcamClick);
    connect(btnRimuovi, &QPushButton::clicked, this, &TfrmDocumentazione::btnRimuoviClick);
    connect(btnRuota, &QPushButton::clicked, this, &TfrmDocumentazione::btnRuotaClick);
    connect(btnSu, &QPushButton::clicked, this, &TfrmDocumentazione::btnSuClick);
    connect(btnGiu, &QPushButton::clicked, this, &TfrmDocumentazione::btnGiuClick);

    // The keyboard: F1 help, Ins adds, Canc removes the photo chosen in the list, Ctrl+R turns it,
    // Alt+Up and Alt+Down move it.
    const auto key = [this](QKeySequence sequence, QWidget* on, auto action) {
        auto* s = new QShortcut(sequence, on);
        s->setContext(on == this ? Qt::WindowShortcut : Qt::WidgetShortcut);
        connect(s, &QShortcut::activated, this, action);
    };
    key(QKeySequence(Qt::Key_F1), this, [this, help = std::move(help)] {
        if (help)
            help(this);
    });
    key(QKeySequence(Qt::Key_Insert), this, [this] { btnAggiungi->click(); });
    key(QKeySequence(Qt::Key_Delete), lstFoto, [this] { btnRimuovi->click(); });
    key(QKeySequence(Qt::CTRL | Qt::Key_R), this, [this] { btnRuota->click(); });
    key(QKeySequence(Qt::ALT | Qt::Key_Up), this, [this] { btnSu->click(); });
    key(QKeySequence(Qt::ALT | Qt::Key_Down), this, [this] { btnGiu->click(); });

    if (!set_.notes().isEmpty()) {
        lblAvviso->setText(set_.notes().join(u'\n'));
        lblAvviso->setVisible(true);
    }
    btnRiprendiFoto->setVisible(!set_.unlisted().isEmpty());
    connect(btnRiprendiFoto, &QPushButton::clicked, this, &TfrmDocumentazione::btnRiprendiFotoClick);
    choose(model_->idAt(1));
    updateState();
    // As large as the user left it, else most of the screen; never larger than the screen.
    windowplace::restore(this, kPlace);
}

TfrmDocumentazione::~TfrmDocumentazione() = default;

QWidget* TfrmDocumentazione::buildDetails()
{
    auto* details = new QWidget(this);
    details->setObjectName(QStringLiteral("panFoto"));
    details->setFixedWidth(330);
    imgAnteprima = new PictureFrame(QStringLiteral("imgAnteprima"), details);
    // As high as the screen leaves room for: on a small screen the buttons stay in sight.
    imgAnteprima->setFixedWidth(320);
    imgAnteprima->setMinimumHeight(170);
    imgAnteprima->setMaximumHeight(360);
    imgAnteprima->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    lblNumero = new QLabel(details);
    lblNumero->setObjectName(QStringLiteral("lblNumero"));
    lblNumero->setProperty("field", true);
    lblNumero->setWordWrap(true);
    cboFaseFoto = new QComboBox(details);
    cboFaseFoto->setObjectName(QStringLiteral("cboFaseFoto"));
    cboFaseFoto->addItems(documentation::phases(set_.kind()));
    dtpData = new QDateEdit(details);
    dtpData->setObjectName(QStringLiteral("dtpData"));
    dtpData->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    dtpData->setCalendarPopup(true);
    dtpData->setMinimumDate(kNoDate);
    dtpData->setSpecialValueText(QStringLiteral(" ")); // a photo whose date is not known
    txtDidascalia = new QPlainTextEdit(details);
    txtDidascalia->setObjectName(QStringLiteral("txtDidascalia"));
    txtDidascalia->setPlaceholderText(QStringLiteral("Didascalia (al massimo 250 caratteri)"));
    txtDidascalia->setTabChangesFocus(true);
    txtDidascalia->setFixedHeight(78);
    // One paragraph: Enter goes on to the buttons, as Tab does.
    onEnter(txtDidascalia, [this] { btnAggiungi->setFocus(); });

    const auto button = [details](const char* name, const QString& text, const QString& tip) {
        auto* b = new QPushButton(text, details);
        b->setObjectName(QString::fromLatin1(name));
        b->setToolTip(tip);
        dialogButton(b);
        return b;
    };
    btnAggiungi = button("btnAggiungi", QStringLiteral("Aggiungi foto\u2026"),
                         QStringLiteral("Aggiunge una o pi\u00F9 foto scelte da una cartella (Ins)."));
    btnWebcam = button("btnWebcam", QStringLiteral("Acquisisci da webcam"),
                       QStringLiteral("Aggiunge una foto scattata con la webcam."));
    btnRimuovi = button("btnRimuovi", QStringLiteral("Rimuovi"), QStringLiteral("Rimuove la foto scelta (Canc)."));
    btnRuota = button("btnRuota", QStringLiteral("Ruota"),
                      QStringLiteral("Ruota la foto scelta di 90 gradi in senso orario (Ctrl+R)."));
    btnSu = button("btnSu", QStringLiteral("Su"),
                   QStringLiteral("Sposta la foto scelta prima della precedente della stessa fase (Alt+Su)."));
    btnGiu = button("btnGiu", QStringLiteral("Gi\u00F9"),
                    QStringLiteral("Sposta la foto scelta dopo la successiva della stessa fase (Alt+Gi\u00F9)."));

    auto* grid = new QGridLayout(details);
    grid->setContentsMargins(8, 0, 0, 0);
    grid->addWidget(imgAnteprima, 0, 0, 1, 2);
    grid->addWidget(lblNumero, 1, 0, 1, 2);
    grid->addWidget(fieldCaption(QStringLiteral("Fase:"), cboFaseFoto, details), 2, 0);
    grid->addWidget(cboFaseFoto, 2, 1);
    grid->addWidget(fieldCaption(QStringLiteral("Data:"), dtpData, details), 3, 0);
    grid->addWidget(dtpData, 3, 1);
    grid->addWidget(fieldCaption(QStringLiteral("Didascalia:"), txtDidascalia, details), 4, 0, 1, 2);
    grid->addWidget(txtDidascalia, 5, 0, 1, 2);
    grid->addWidget(btnAggiungi, 6, 0);
    grid->addWidget(btnWebcam, 6, 1);
    grid->addWidget(btnRimuovi, 7, 0);
    grid->addWidget(btnRuota, 7, 1);
    grid->addWidget(btnSu, 8, 0);
    grid->addWidget(btnGiu, 8, 1);
    grid->setRowStretch(0, 3);
    grid->setRowStretch(9, 1);

    connect(cboFaseFoto, &QComboBox::activated, this, [this](int i) {
        const quint64 id = chosen();
        if (!id || i < 0)
            return;
        const QString phase = cboFaseFoto->itemText(i);
        set_.place(id, phase, set_.countInPhase(phase));
        if (!model_->filter().isEmpty() && model_->filter() != phase) {
            cboFase->setCurrentText(phase); // the photo stays in view, with its new phase
            model_->setFilter(phase);
        } else {
            model_->refresh();
        }
        choose(id);
    });
    connect(txtDidascalia, &QPlainTextEdit::textChanged, this, [this] {
        QString text = txtDidascalia->toPlainText();
        if (text.size() > documentation::kMaxCaption || text.contains(u'\n')) {
            // Pasted text: one paragraph, cut at the longest caption.
            text = text.replace(u'\n', u' ').left(documentation::kMaxCaption);
            const QSignalBlocker quiet(txtDidascalia);
            txtDidascalia->setPlainText(text);
            txtDidascalia->moveCursor(QTextCursor::End);
        }
        set_.setCaption(chosen(), text);
        model_->changed(chosen());
    });
    connect(dtpData, &QDateEdit::dateChanged, this, [this](const QDate& date) {
        set_.setDate(chosen(), date == kNoDate ? QDate() : date);
        model_->changed(chosen());
    });
    return details;
}

quint64 TfrmDocumentazione::chosen() const
{
    return model_->idAt(lstFoto->currentIndex().row());
}

void TfrmDocumentazione::choose(quint64 id)
{
    const int row = model_->rowOf(id);
    if (row < 0) {
        lstFoto->setCurrentIndex({});
        showChosen();
        return;
    }
    lstFoto->setCurrentIndex(model_->index(row));
    reveal(row);
    showChosen();
}

void TfrmDocumentazione::reveal(int row)
{
    // Before the screen shows, the list is not yet as large as it will be: scrolled then, its
    // first heading would stay out of sight. The screen scrolls it once shown.
    if (row < 0 || !lstFoto->isVisible())
        return;
    if (row > 0 && model_->idAt(row - 1) == 0)
        lstFoto->scrollTo(model_->index(row - 1)); // the heading of its phase with it, where both fit
    lstFoto->scrollTo(model_->index(row));
}

void TfrmDocumentazione::showEmptyHint()
{
    QString hint;
    if (model_->shownCount() == 0 && !adding()) {
        const bool editable = !set_.readOnly() && set_.position() > 0;
        if (!model_->filter().isEmpty())
            hint = QStringLiteral("Nessuna foto nella fase \u00AB%1\u00BB.").arg(model_->filter());
        else
            hint = editable ? QStringLiteral("La documentazione non ha ancora foto.")
                            : QStringLiteral("La documentazione non ha foto.");
        if (editable)
            hint += QStringLiteral(" Per aggiungerne premere \u00ABAggiungi foto\u2026\u00BB (o il tasto Ins)%1, "
                                   "oppure trascinarle qui da una cartella.")
                        .arg(webcam_ ? QStringLiteral(" o \u00ABAcquisisci da webcam\u00BB") : QString());
    }
    lstFoto->setEmptyText(hint);
}

void TfrmDocumentazione::showChosen()
{
    const quint64 id = chosen();
    const documentation::Item* item = set_.find(id);
    previewFor_ = id;
    const QSignalBlocker a(cboFaseFoto), b(txtDidascalia), c(dtpData);
    if (!item) {
        lblNumero->setText(set_.items().isEmpty() ? QStringLiteral("Nessuna foto nella documentazione.")
                                                  : QStringLiteral("Nessuna foto scelta."));
        txtDidascalia->clear();
        dtpData->setDate(kNoDate);
        imgAnteprima->setStoredImage({});
        updateState();
        return;
    }
    const int number = set_.indexOf(id) + 1;
    lblNumero->setText(QStringLiteral("Foto n. %1 di %2: %3%4")
                           .arg(number)
                           .arg(set_.items().size())
                           .arg(item->photo.file, item->missing ? QStringLiteral(" (mancante)") : QString()));
    if (cboFaseFoto->findText(item->photo.phase) < 0)
        cboFaseFoto->addItem(item->photo.phase); // a phase a later program named
    cboFaseFoto->setCurrentText(item->photo.phase);
    txtDidascalia->setPlainText(item->photo.caption);
    dtpData->setDate(item->photo.taken.isValid() ? item->photo.taken : kNoDate);
    // The thumbnail at once, the larger picture when it is made.
    imgAnteprima->setStoredImage(model_->data(model_->index(model_->rowOf(id)), Qt::DecorationRole).value<QImage>());
    if (!item->missing)
        loader_->request(kPreview | id, set_.pathOf(*item), kPreviewSide);
    updateState();
}

QString TfrmDocumentazione::phaseForNew() const
{
    if (!model_->filter().isEmpty())
        return model_->filter();
    if (const documentation::Item* item = set_.find(chosen()))
        return item->photo.phase;
    return documentation::phases(set_.kind()).front();
}

void TfrmDocumentazione::updateState()
{
    const documentation::Item* item = set_.find(chosen());
    const bool editable = !set_.readOnly() && set_.position() > 0;
    const bool photo = editable && item;
    btnAggiungi->setEnabled(editable);
    btnWebcam->setEnabled(editable && bool(webcam_));
    btnRimuovi->setEnabled(photo);
    btnRuota->setEnabled(photo && !item->missing);
    const int place = item ? set_.placeInPhase(item->id) : -1;
    btnSu->setEnabled(photo && place > 0);
    btnGiu->setEnabled(photo && place + 1 < set_.countInPhase(item->photo.phase));
    for (QWidget* w :
         {static_cast<QWidget*>(cboFaseFoto), static_cast<QWidget*>(txtDidascalia), static_cast<QWidget*>(dtpData)})
        w->setEnabled(photo);
    const int shown = model_->shownCount();
    const QString count = model_->filter().isEmpty() ? QStringLiteral("%1 foto").arg(shown)
                                                     : QStringLiteral("%1 foto della fase \u00AB%2\u00BB (%3 in tutto)")
                                                           .arg(shown)
                                                           .arg(model_->filter())
                                                           .arg(model_->photoCount());
    if (adding())
        lblStato->setText(QStringLiteral("Aggiunta delle foto: %1 di %2\u2026").arg(addDone_).arg(addTotal_));
    else if (model_->shownThumbnailsDone() < shown)
        lblStato->setText(
            count + QStringLiteral(". Miniature pronte: %1 di %2\u2026").arg(model_->shownThumbnailsDone()).arg(shown));
    else
        lblStato->setText(count);
    showEmptyHint();
}

bool TfrmDocumentazione::adding() const
{
    return addTotal_ > 0; // until the last addition has said what it had to
}

void TfrmDocumentazione::wantVisible()
{
    QList<quint64> ids;
    const QRect shown = lstFoto->viewport()->rect();
    for (int row = 0; row < model_->rowCount(); ++row)
        if (const quint64 id = model_->idAt(row); id && lstFoto->visualRect(model_->index(row)).intersects(shown))
            ids << id;
    model_->want(ids);
}

void TfrmDocumentazione::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (e->spontaneous())
        return;
    // Every thumbnail in the background, what shows first first; the screen takes input at once.
    model_->wantAll();
    QTimer::singleShot(0, this, [this] {
        reveal(lstFoto->currentIndex().row());
        wantVisible();
    });
    lstFoto->setFocus();
}

void TfrmDocumentazione::btnAggiungiClick()
{
    Ui::FileDialog d;
    d.title = QStringLiteral("Scegliere le foto da aggiungere alla documentazione.");
    d.filters = QStringList{QStringLiteral("Immagini (*.jpg; *.jpeg; *.png; *.bmp; *.tif; *.tiff; *.gif; *.webp)"),
                            QStringLiteral("Tutti i file (*.*)")};
    const QStringList chosenFiles = ui_.openFiles(this, d);
    if (!chosenFiles.isEmpty())
        addFiles(chosenFiles, phaseForNew(), -1);
}

void TfrmDocumentazione::addFiles(const QStringList& paths, const QString& phase, int place)
{
    if (set_.readOnly() || set_.position() <= 0 || paths.isEmpty())
        return;
    addPhase_ = phase;
    addPlace_ = place;
    addTotal_ += int(paths.size());
    importer_->add(set_.target(), paths, set_.identities());
    updateState();
}

void TfrmDocumentazione::btnWebcamClick()
{
    if (!webcam_ || set_.readOnly())
        return;
    const std::optional<QImage> still = webcam_(this);
    if (!still || still->isNull())
        return;
    addPhase_ = phaseForNew();
    addPlace_ = -1;
    ++addTotal_;
    const QString name =
        QStringLiteral("Webcam_%1.jpg").arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")));
    importer_->addPicture(set_.target(), *still, name, set_.identities());
    updateState();
}

void TfrmDocumentazione::imported(const Imported& result)
{
    ++addDone_;
    if (!result.message.isEmpty()) {
        said_ << result.message;
        if (!result.cause.isEmpty())
            causes_ << result.source + QStringLiteral(": ") + result.cause;
    }
    if (result.outcome == Imported::Outcome::Added) {
        documentation::Photo photo = result.photo;
        photo.phase = addPhase_;
        const quint64 id = set_.add(photo);
        if (addPlace_ >= 0)
            set_.place(id, addPhase_, addPlace_++);
        model_->setThumbnail(id, result.thumbnail);
        model_->refresh();
        // The newest photo is chosen and shown, so that the list visibly fills in.
        choose(id);
    }
    updateState();
}

void TfrmDocumentazione::additionsFinished()
{
    if (importer_->pending() > 0)
        return;
    addDone_ = addTotal_ = 0;
    updateState();
    if (said_.isEmpty())
        return;
    const QString text =
        said_.size() == 1 ? said_.front()
                          : QStringLiteral("Alcune foto non sono state aggiunte come scelte:\n\n") + said_.join(u'\n');
    const QString details = causes_.join(u'\n');
    said_.clear();
    causes_.clear();
    ui_.message(this, Ui::Kind::Warning, text, details);
}

void TfrmDocumentazione::btnRiprendiFotoClick()
{
    if (set_.adoptUnlisted() == 0)
        return;
    btnRiprendiFoto->setVisible(false);
    lblAvviso->setVisible(false);
    model_->refresh();
    choose(model_->idAt(1));
    updateState();
}

void TfrmDocumentazione::btnRimuoviClick()
{
    const quint64 id = chosen();
    if (!id || set_.readOnly() || ui_.question(this, kRemoveQuestion, Ui::Answer::No) != Ui::Answer::Yes)
        return;
    const int row = model_->rowOf(id);
    quint64 next = model_->idAt(row + 1);
    if (!next)
        next = model_->idAt(row - 1);
    set_.remove(id);
    model_->refresh();
    choose(next);
}

void TfrmDocumentazione::btnRuotaClick()
{
    const quint64 id = chosen();
    const documentation::Item* item = set_.find(id);
    if (!item || item->missing || set_.readOnly())
        return;
    set_.rotate(id);
    model_->changed(id);
    showChosen();
}

void TfrmDocumentazione::move(int by)
{
    const documentation::Item* item = set_.find(chosen());
    if (!item || set_.readOnly())
        return;
    const quint64 id = item->id;
    const QString phase = item->photo.phase; // the item moves: its phase is copied first
    const int place = set_.placeInPhase(id) + by;
    if (place < 0 || place >= set_.countInPhase(phase))
        return;
    set_.place(id, phase, place);
    model_->refresh();
    choose(id);
}

void TfrmDocumentazione::btnSuClick()
{
    move(-1);
}

void TfrmDocumentazione::btnGiuClick()
{
    move(+1);
}

void TfrmDocumentazione::zoom()
{
    const documentation::Item* item = set_.find(chosen());
    if (!item)
        return;
    const QSize area = screen() ? screen()->size() : QSize(1600, 1200);
    const std::optional<QImage> picture =
        item->missing ? std::nullopt : photofiles::decodeFitting(set_.pathOf(*item), area);
    if (!picture) {
        ui_.message(this, Ui::Kind::Information,
                    item->missing ? QStringLiteral("La foto scelta non si trova pi\u00F9 nella cartella della "
                                                   "documentazione.")
                                  : QStringLiteral("La foto scelta non si pu\u00F2 leggere."));
        return;
    }
    photoactions::zoom(ui_, this, turnedBy(*picture, item->turns));
}

void TfrmDocumentazione::done(int result)
{
    // What waits to be added is dropped; the file being added is finished and kept in the set,
    // so that nothing is left in the folder that the set does not name.
    importer_->cancel();
    importer_->wait();
    QCoreApplication::sendPostedEvents(importer_, QEvent::MetaCall);
    loader_->cancel();
    windowplace::remember(this, kPlace);
    QDialog::done(result);
}

void showDocumentation(Ui& ui, QWidget* card, const QString& position, documentation::WorkingSet& set,
                       TfrmDocumentazione::Capture webcam, std::function<void(QWidget*)> help)
{
    const qint64 k = text::trim(position).toLongLong();
    if (k <= 0) {
        ui.message(card, Ui::Kind::Information, messages::kNotSavedYet);
        return;
    }
    if (!set.edited() || set.position() != k)
        set.load(k); // what another workstation stored since the card was shown
    execOnce(ui, std::make_unique<TfrmDocumentazione>(ui, card, set, std::move(webcam), std::move(help)));
}
