#include "export/ExpOpere.h"

#include "records/ArtworkArchive.h"
#include "storage/Cp1252.h"
#include "storage/IoError.h"
#include "storage/ProgramDir.h"
#include "storage/SafeFile.h"
#include "storage/Text.h"
#include "widgets/Buttons.h"
#include "widgets/Dialogs.h"
#include "widgets/StatusHints.h"
#include "widgets/Style.h"
#include "widgets/Ui.h"

#include <QHeaderView>
#include <QLabel>
#include <QShowEvent>
#include <QTableView>

namespace {
struct Column {
    const char* name;
    int width;
    bool editable;
};
// The grid: "N." then the sixteen fields in record order, headed by the record's captions.
const Column kColumns[] = {
    {"colNum", 60, false},       {"colOpera", 250, false},   {"colSoggetto", 250, false},
    {"colArtista", 200, false},  {"colAnno", 180, false},    {"colNazione", 200, false},
    {"colTecnica", 250, false},  {"colCorrente", 250, true}, {"colDimensioni", 200, false},
    {"colSupporto", 250, false}, {"colLuogo", 250, false},   {"colProprietario", 250, true},
    {"colCodFisc", 180, true},   {"colRecapito", 180, true}, {"colNote", 350, true},
    {"colValore", 150, false},   {"colVenduta", 120, false},
};
constexpr int kGridColumns = int(std::size(kColumns));

const QString kAsk =
    QStringLiteral("L'esportazione dei dati in Excel pu\u00F2 richiedere diversi minuti a seconda del numero "
                   "di schede presenti in archivio.\r\n\r\nSi vuole esportare i dati adesso?");
const QString kDone =
    QStringLiteral("Le schede in archivio sono state esportate con successo.\r\n\r\nSi vuole aprire il file di Excel?");
const QString kFailed =
    QStringLiteral("Attenzione: il sistema non permette di esportare i dati.\n\r\n\rAccertarsi che il file "
                   "di Excel non sia gi\u00E0 aperto.");
} // namespace

ExportModel::ExportModel(QObject* parent) : QAbstractTableModel(parent)
{ }

void ExportModel::load()
{
    beginResetModel();
    edits_.clear();
    try {
        rows_.load(ArtworkArchive());
    } catch (...) {
        endResetModel();
        throw;
    }
    endResetModel();
}

int ExportModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(rows_.count());
}

int ExportModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kGridColumns;
}

bool ExportModel::editable(int gridColumn)
{
    return gridColumn >= 0 && gridColumn < kGridColumns && kColumns[gridColumn].editable;
}

QVariant ExportModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    const int column = index.column();
    if (column == 0)
        return QString::number(index.row() + 1);
    const auto edit = edits_.constFind(qint64(index.row()) * kGridColumns + column);
    if (edit != edits_.constEnd())
        return *edit;
    const QByteArrayView cell = rows_.cell(index.row(), column - 1);
    return cp1252::decode(cell.data(), cell.size());
}

QVariant ExportModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < kGridColumns)
        return section == 0 ? QStringLiteral("N.") : TSchedaOpera::caption(TSchedaOpera::Field(section - 1));
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags ExportModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (editable(index.column()))
        f |= Qt::ItemIsEditable;
    return f;
}

bool ExportModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || !editable(index.column()))
        return false;
    edits_.insert(qint64(index.row()) * kGridColumns + index.column(), text::trim(value.toString()));
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

QByteArrayView ExportModel::exportCell(qint64 row, int column, QByteArray& scratch) const
{
    if (!edits_.isEmpty()) {
        const auto edit = edits_.constFind(row * kGridColumns + column + 1);
        if (edit != edits_.constEnd()) {
            scratch = cp1252::encode(*edit);
            return scratch;
        }
    }
    return rows_.cell(row, column);
}

TfrmExpOpere::TfrmExpOpere(Ui& ui, QWidget* parent, std::function<void(QWidget*)> help)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), ui_(ui), help_(std::move(help))
{
    setObjectName(QStringLiteral("frmExpOpere"));
    setWindowTitle(QStringLiteral(" Esporta archivio opere d'arte in Excel"));
    setFixedSize(862, 560);

    auto* container = new QWidget(this);
    container->setObjectName(QStringLiteral("panContainer"));
    container->setAttribute(Qt::WA_StyledBackground);
    container->setGeometry((862 - 837) / 2, (560 - 533) / 2, 837, 533);
    auto* heading = new QWidget(container);
    heading->setObjectName(QStringLiteral("shpSfondo"));
    heading->setAttribute(Qt::WA_StyledBackground);
    heading->setGeometry(8, 8, 821, 65);
    auto* title = new QLabel(QStringLiteral("ESPORTAZIONE IN EXCEL"), container);
    title->setObjectName(QStringLiteral("imgLogo"));
    title->setGeometry(13, 13, 505, 55);
    auto* hand = new QLabel(container);
    hand->setObjectName(QStringLiteral("icoHand"));
    hand->setPixmap(style::pixmap(QStringLiteral("ico_mano"), QSize(31, 25)));
    hand->setGeometry(528, 32, 31, 25);
    cmdEsporta = new PictureButton(QStringLiteral("cmdEsporta"), QStringLiteral("tb_esporta"), container, 40);
    cmdEsporta->setGeometry(566, 15, 49, 50);
    cmdGuida = new PictureButton(QStringLiteral("cmdGuida"), QStringLiteral("tb_guida"), container, 40);
    cmdGuida->setGeometry(670, 13, 50, 55);
    cmdEsci = new PictureButton(QStringLiteral("cmdEsci"), QStringLiteral("tb_esci"), container, 34);
    cmdEsci->setGeometry(766, 15, 40, 50);

    model_ = new ExportModel(this);
    grdRecords = new QTableView(container);
    grdRecords->setObjectName(QStringLiteral("grdRecords"));
    grdRecords->setModel(model_);
    grdRecords->setGeometry(8, 80, 821, 409);
    grdRecords->setAlternatingRowColors(true);
    grdRecords->verticalHeader()->hide();
    grdRecords->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grdRecords->verticalHeader()->setDefaultSectionSize(21);
    grdRecords->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    grdRecords->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                                | QAbstractItemView::AnyKeyPressed);
    for (int c = 0; c < kGridColumns; ++c)
        grdRecords->setColumnWidth(c, kColumns[c].width);

    auto* band = new QWidget(container);
    band->setObjectName(QStringLiteral("shpInfo"));
    band->setAttribute(Qt::WA_StyledBackground);
    band->setGeometry(8, 493, 821, 32);
    panInfo = new QLabel(QStringLiteral("Esportazione archivio in Microsoft Excel."), container);
    panInfo->setObjectName(QStringLiteral("panInfo"));
    panInfo->setGeometry(14, 499, 800, 20);

    auto* hints = new StatusHints(panInfo);
    hints->hint(cmdEsporta, QStringLiteral("Esporta l'archivio in formato Microsoft Excel."));
    hints->hint(cmdGuida, QStringLiteral("Visualizza la pagina della guida sensibile al contesto."));
    hints->hint(cmdEsci, QStringLiteral("Esci da questo ambiente di lavoro."));
    for (QWidget* w : {static_cast<QWidget*>(this), container, static_cast<QWidget*>(grdRecords),
                       grdRecords->viewport(), band, heading})
        hints->blank(w);

    connect(cmdEsporta, &QToolButton::clicked, this, &TfrmExpOpere::cmdEsportaClick);
    connect(cmdGuida, &QToolButton::clicked, this, [this] {
        if (help_)
            help_(this);
    });
    connect(cmdEsci, &QToolButton::clicked, this, &QDialog::accept);
}

QString TfrmExpOpere::exportPath()
{
    return programdir::file(QStringLiteral("Inventario_Opere.xls"));
}

void TfrmExpOpere::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (e->spontaneous())
        return;
    centerOnScreen(this);
    try {
        model_->load();
    } catch (const IoError&) {
        // An unreadable archive fills the grid as far as it could be read.
    }
}

void TfrmExpOpere::cmdEsportaClick()
{
    if (ui_.question(this, kAsk) != Ui::Answer::Yes)
        return;
    try {
        // The earlier export is replaced only by a complete one.
        SafeFile file(exportPath());
        exportfile::write(file.device(), model_->rowCount(), [this](qint64 row, int column, QByteArray& scratch) {
            return model_->exportCell(row, column, scratch);
        });
        file.commit();
    } catch (const IoError&) {
        ui_.message(this, Ui::Kind::Plain, kFailed);
        return;
    }
    if (ui_.question(this, kDone, Ui::Answer::Yes) != Ui::Answer::No) // opening replaces nothing
        ui_.openUrl(QStringLiteral("\"") + exportPath() + QStringLiteral("\""));
}
