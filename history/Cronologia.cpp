#include "history/Cronologia.h"

#include "storage/PhotoFiles.h"
#include "widgets/Keys.h"
#include "widgets/PictureFrame.h"
#include "widgets/Ui.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QShowEvent>
#include <QTableWidget>
#include <QTreeView>
#include <QVBoxLayout>

namespace {
const char* const kColumns[] = {"Data e ora", "Operazione", "Postazione", "Utente", "Campi modificati"};

// A stored text as the grid shows it on one line: line breaks as a return sign.
QString oneLine(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral(" \u21B5 ")).replace(u'\n', QStringLiteral(" \u21B5 "));
}
} // namespace

VersionModel::VersionModel(std::vector<history::Version> versions, QObject* parent)
    : QAbstractTableModel(parent), versions_(std::move(versions))
{ }

int VersionModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(versions_.size());
}

int VersionModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(std::size(kColumns));
}

QVariant VersionModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    const history::Version& v = versions_[size_t(index.row())];
    switch (index.column()) {
    case 0: return history::when(v.entry);
    case 1: return journal::label(v.entry.what);
    case 2: return v.entry.workstation;
    case 3: return v.entry.user;
    default: return v.changed.join(QStringLiteral(", "));
    }
}

QVariant VersionModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < int(std::size(kColumns)))
        return QString::fromUtf8(kColumns[section]);
    return {};
}

TfrmCronologia::TfrmCronologia(Ui& ui, QWidget* parent, std::vector<history::Version> versions,
                               history::RecordKind kind, QStringList current, bool unsavedEdits, Restore restore,
                               std::function<void(QWidget*)> help)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), ui_(ui),
      kind_(std::move(kind)), current_(std::move(current)), unsavedEdits_(unsavedEdits), restore_(std::move(restore))
{
    setObjectName(QStringLiteral("frmCronologia"));
    setWindowTitle(QStringLiteral(" Cronologia della scheda"));
    setProperty("listScreen", true);
    resize(1040, 680);

    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("panContainer"));
    panel->setAttribute(Qt::WA_StyledBackground);
    auto* banner = new QLabel(QStringLiteral("Cronologia della scheda"), panel);
    banner->setObjectName(QStringLiteral("imgBanner"));
    banner->setProperty("listBanner", true);
    banner->setFixedHeight(46);
    auto* explain = new QLabel(
        QStringLiteral("Ogni salvataggio conserva una versione della scheda. Scegliere una versione per confrontarla "
                       "con la scheda attuale; \u00ABRipristina\u00BB la carica nella scheda, che si archivia poi con "
                       "\u00ABSalva\u00BB come nuova versione."),
        panel);
    explain->setObjectName(QStringLiteral("icoIstruzioni"));
    explain->setProperty("listHelp", true);
    explain->setWordWrap(true);

    model_ = new VersionModel(std::move(versions), this);
    lstVersioni = new QTreeView(panel);
    lstVersioni->setObjectName(QStringLiteral("lstVersioni"));
    lstVersioni->setModel(model_);
    lstVersioni->setRootIsDecorated(false);
    lstVersioni->setUniformRowHeights(true);
    lstVersioni->setAlternatingRowColors(true);
    lstVersioni->setSelectionMode(QAbstractItemView::SingleSelection);
    lstVersioni->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstVersioni->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int c = 0; c < 4; ++c)
        lstVersioni->setColumnWidth(c, c == 0 ? 170 : 130);

    grdConfronto = new QTableWidget(kind_.captions.size(), 3, panel);
    grdConfronto->setObjectName(QStringLiteral("grdConfronto"));
    grdConfronto->setHorizontalHeaderLabels(
        {QStringLiteral("Campo"), QStringLiteral("Versione scelta"), QStringLiteral("Scheda attuale")});
    grdConfronto->verticalHeader()->hide();
    grdConfronto->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdConfronto->setSelectionMode(QAbstractItemView::NoSelection);
    grdConfronto->setWordWrap(false);
    grdConfronto->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    grdConfronto->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    grdConfronto->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);

    auto* photos = new QVBoxLayout;
    photos->setSpacing(6);
    auto* photoCaption = new QLabel(QStringLiteral("Foto della versione scelta:"), panel);
    photoCaption->setProperty("field", true);
    photos->addWidget(photoCaption);
    imgVersione = new PictureFrame(QStringLiteral("imgVersione"), panel);
    imgVersione->setFixedSize(260, 174);
    photos->addWidget(imgVersione);
    imgVersione02 = nullptr;
    if (kind_.frames.size() > 1) {
        imgVersione02 = new PictureFrame(QStringLiteral("imgVersione02"), panel);
        imgVersione02->setFixedSize(260, 174);
        photos->addWidget(imgVersione02);
    }
    photos->addStretch();

    btnChiudi = new QPushButton(QStringLiteral("Chiudi"), panel);
    btnChiudi->setObjectName(QStringLiteral("btnChiudi"));
    btnRipristina = new QPushButton(QStringLiteral("Ripristina"), panel);
    btnRipristina->setObjectName(QStringLiteral("btnRipristina"));
    for (QPushButton* b : {btnChiudi, btnRipristina}) {
        dialogButton(b);
        b->setMinimumWidth(120);
    }

    auto* compare = new QHBoxLayout;
    compare->addWidget(grdConfronto, 1);
    compare->addLayout(photos);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnChiudi);
    buttons->addWidget(btnRipristina);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(14, 10, 14, 12);
    layout->setSpacing(8);
    layout->addWidget(banner);
    layout->addWidget(explain);
    layout->addWidget(lstVersioni, 2);
    layout->addLayout(compare, 3);
    layout->addLayout(buttons);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(panel);

    // Enter or a double click on a version only chooses it: only Ripristina puts it on the card.
    connect(lstVersioni->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] { showChosen(); });
    connect(btnRipristina, &QPushButton::clicked, this, &TfrmCronologia::btnRipristinaClick);
    connect(btnChiudi, &QPushButton::clicked, this, &QDialog::reject);
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(f1, &QShortcut::activated, this, [this, help = std::move(help)] {
        if (help)
            help(this);
    });
    ensurePolished(); // the colour of changed rows comes from the style sheet
    if (model_->rowCount() > 0)
        choose(0);
    else
        btnRipristina->setEnabled(false);
}

int TfrmCronologia::chosen() const
{
    const QModelIndex i = lstVersioni->currentIndex();
    return i.isValid() ? i.row() : -1;
}

void TfrmCronologia::choose(int row)
{
    lstVersioni->setCurrentIndex(model_->index(row, 0)); // shown by currentRowChanged
}

void TfrmCronologia::showChosen()
{
    const int row = chosen();
    if (row < 0)
        return;
    const history::Version& v = model_->version(row);
    for (int f = 0; f < kind_.captions.size(); ++f) {
        const QString was = v.fields.value(f);
        const QString now = current_.value(f);
        const bool changed = was != now;
        const QString cells[] = {kind_.captions[f], oneLine(was), oneLine(now)};
        for (int c = 0; c < 3; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            item->setToolTip(c == 0 ? QString() : (c == 1 ? was : now));
            if (changed) {
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
                item->setBackground(changedColour_);
            }
            item->setData(Qt::UserRole, changed);
            grdConfronto->setItem(f, c, item);
        }
    }
    PictureFrame* frames[] = {imgVersione, imgVersione02};
    for (int i = 0; i < 2; ++i) {
        if (!frames[i])
            continue;
        const std::optional<QImage> picture =
            v.photos.value(i).isEmpty() ? std::nullopt : photofiles::decode(v.photos.value(i), "jpeg");
        frames[i]->setStoredImage(picture ? *picture : QImage());
    }
}

void TfrmCronologia::btnRipristinaClick()
{
    const int row = chosen();
    if (row < 0)
        return;
    if (unsavedEdits_ && ui_.question(this, messages::kUnsavedEdits) != Ui::Answer::Yes)
        return;
    const history::Version& v = model_->version(row);
    if (restore_)
        restore_(v);
    accept();
    ui_.message(parentWidget(), Ui::Kind::Information, messages::kRestored);
}

void TfrmCronologia::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!e->spontaneous())
        lstVersioni->setFocus();
}

void restoreDocumentation(Ui& ui, QWidget* card, documentation::WorkingSet& set, const history::Version& version)
{
    const QStringList said = set.restore(version.documentation, version.documentationFiles);
    if (!said.isEmpty())
        ui.message(card, Ui::Kind::Warning, said.join(u'\n'));
}
