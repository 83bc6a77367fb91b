#include "search/ListScreen.h"

#include "printing/PrintJob.h"
#include "printing/Templates.h"
#include "search/LineModel.h"
#include "search/ListFind.h"
#include "storage/IoError.h"
#include "widgets/Dialogs.h"
#include "widgets/FocusEffect.h"
#include "widgets/Keys.h"
#include "widgets/Ui.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScrollBar>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {
const QString kEmptyList = QStringLiteral("Ricerca non applicabile: la lista non contiene nessuna voce.");
} // namespace

QLabel* listBanner(const QString& text, QWidget* parent)
{
    auto* banner = new QLabel(text, parent);
    banner->setObjectName(QStringLiteral("imgBanner"));
    banner->setProperty("listBanner", true);
    banner->setFixedHeight(46);
    return banner;
}

ListScreen::ListScreen(Ui& ui, const Look& look, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), ui_(ui),
      printTitle_(QString::fromUtf8(look.printTitle)), templateName_(QString::fromUtf8(look.templateName))
{
    setObjectName(QString::fromLatin1(look.objectName));
    setWindowTitle(QString::fromUtf8(look.caption));
    setProperty("listScreen", true);
    setFixedSize(862, 560);
    lblMemory = new QLabel(this);
    lblMemory->setObjectName(QStringLiteral("lblMemory"));
    lblMemory->hide();

    panContainer = new QWidget(this);
    panContainer->setObjectName(QStringLiteral("panContainer"));
    panContainer->setAttribute(Qt::WA_StyledBackground);
    panContainer->setGeometry(0, 0, 862, 560);

    auto* instructions = new QLabel(
        QString::fromUtf8("Digitare una o pi\u00F9 parole consecutive della voce cercata e premere Trova. "
                          "Premere di nuovo Trova per passare alla voce successiva che contiene lo stesso testo."),
        panContainer);
    instructions->setObjectName(QString::fromLatin1(look.instructionName));
    instructions->setProperty("listHelp", true);
    instructions->setWordWrap(true);
    txtTrova = new QLineEdit(panContainer);
    txtTrova->setObjectName(QStringLiteral("txtTrova"));
    txtTrova->setProperty("fontRole", QStringLiteral("entry"));
    txtTrova->setFixedWidth(230);
    new FocusEffect(QStringLiteral("effTrova"), txtTrova);
    btnTrova = new QPushButton(QStringLiteral("Trova"), panContainer);
    btnTrova->setObjectName(QStringLiteral("btnTrova"));

    model_ = new LineModel(this);
    lstRecords = new QListView(panContainer);
    lstRecords->setObjectName(QStringLiteral("lstRecords"));
    lstRecords->setModel(model_);
    lstRecords->setUniformItemSizes(true);
    lstRecords->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstRecords->setSelectionMode(QAbstractItemView::SingleSelection);
    lstRecords->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    lstRecords->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    lstRecords->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

    lblRigo03 = new QLabel(QString::fromUtf8(look.doubleClickHint), panContainer);
    lblRigo03->setObjectName(QStringLiteral("lblRigo03"));
    lblRigo03->setAlignment(Qt::AlignCenter);
    btnChiudi = new QPushButton(QStringLiteral("Chiudi"), panContainer);
    btnChiudi->setObjectName(QStringLiteral("btnChiudi"));
    btnStampa = new QPushButton(QStringLiteral("Stampa"), panContainer);
    btnStampa->setObjectName(QStringLiteral("btnStampa"));
    for (QPushButton* b : {btnTrova, btnChiudi, btnStampa}) {
        dialogButton(b);
        b->setMinimumWidth(100);
    }

    auto* findRow = new QHBoxLayout;
    findRow->setSpacing(10);
    findRow->addWidget(instructions, 1);
    findRow->addWidget(txtTrova);
    findRow->addWidget(btnTrova);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnChiudi);
    buttons->addWidget(btnStampa);
    results_ = new QVBoxLayout(panContainer);
    results_->setContentsMargins(14, 10, 14, 12);
    results_->setSpacing(8);
    results_->addWidget(listBanner(QString::fromUtf8(look.banner), panContainer));
    results_->addLayout(findRow);
    results_->addWidget(lstRecords, 1);
    results_->addWidget(lblRigo03);
    results_->addLayout(buttons);

    onEnter(txtTrova, [this] { btnTrova->setFocus(); });
    connect(btnTrova, &QPushButton::clicked, this, &ListScreen::btnTrovaClick);
    connect(btnChiudi, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnStampa, &QPushButton::clicked, this, &ListScreen::btnStampaClick);
    connect(lstRecords, &QListView::doubleClicked, this, &ListScreen::lstRecordsDblClick);
}

const ListLines& ListScreen::lines() const
{
    return model_->lines();
}

int ListScreen::selectedLine() const
{
    const QModelIndexList selected = lstRecords->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.constFirst().row();
}

void ListScreen::selectLine(int row)
{
    const QModelIndex index = model_->index(row);
    lstRecords->setCurrentIndex(index);
    lstRecords->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect);
    lstRecords->scrollTo(index);
}

void ListScreen::setLines(ListLines lines)
{
    model_->setLines(std::move(lines));
    lstRecords->horizontalScrollBar()->setValue(0);
    txtTrova->setFocus();
}

void ListScreen::btnTrovaClick()
{
    const int count = int(lines().size());
    if (count == 0) {
        ui_.message(this, Ui::Kind::Plain, kEmptyList);
        return;
    }
    if (selectedLine() < 0)
        selectLine(0);
    const QString key = listfind::key(txtTrova->text());
    const int found =
        listfind::next([this](int i) { return lines()[size_t(i)].text; }, count, selectedLine(), key, lastKey_);
    if (found >= 0)
        selectLine(found);
    lastKey_ = key;
}

void ListScreen::btnStampaClick()
{
    QStringList text;
    text.reserve(qsizetype(lines().size()));
    for (const ListLine& l : lines())
        text << l.text;
    report::Template t = templates::summaryList(templateName_);
    try {
        templates::fillSummary(t, printTitle_, templates::printStamp(now()), text);
        printWithDialog(ui_, this, t);
    } catch (const IoError& e) {
        // The engine's own failure, in Italian, with its technical cause in the details.
        showPrintFailure(ui_, this, e);
    }
}

void ListScreen::lstRecordsDblClick()
{
    const int row = selectedLine();
    if (row >= 0) {
        try {
            showRecord(lines()[size_t(row)].position);
        } catch (const IoError&) {
            // The record is gone or unreadable: nothing changes, the screen closes.
        }
    }
    accept();
}

void ListScreen::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!e->spontaneous())
        centerOnScreen(this);
}

void ListScreen::done(int result)
{
    model_->clear();
    QDialog::done(result);
}
