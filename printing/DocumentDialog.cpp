#include "printing/DocumentDialog.h"

#include "documentation/WorkingSet.h"
#include "printing/PhotoPages.h"
#include "printing/PrintJob.h"
#include "storage/IniFile.h"
#include "storage/IoError.h"
#include "storage/ProgramDir.h"
#include "storage/Text.h"
#include "widgets/Keys.h"
#include "widgets/Ui.h"

#include <QCheckBox>
#include <QComboBox>

#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

QString printedValue(const QWidget* control)
{
    return text::trim(cardfields::value(control)).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

DocumentDialog::DocumentDialog(Ui& ui, const char* objectName, const char* caption, const QString& action,
                               QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), ui_(ui)
{
    setObjectName(QString::fromLatin1(objectName));
    setWindowTitle(QString::fromUtf8(caption));
    setProperty("documentDialog", true);
    setFixedSize(364, 287);
    shpSfondo = new QWidget(this);
    shpSfondo->setObjectName(QStringLiteral("shpSfondo"));
    shpSfondo->setAttribute(Qt::WA_StyledBackground);
    shpSfondo->setGeometry(18, 18, 326, 215);
    btnAnnulla = new QPushButton(QStringLiteral("Annulla"), this);
    btnAnnulla->setObjectName(QStringLiteral("btnAnnulla"));
    btnAnnulla->setGeometry(18, 243, 145, 28);
    btnStampa = new QPushButton(action, this);
    btnStampa->setObjectName(QStringLiteral("btnStampa"));
    btnStampa->setGeometry(200, 243, 145, 28);
    for (QPushButton* b : {btnAnnulla, btnStampa})
        dialogButton(b);
    connect(btnAnnulla, &QPushButton::clicked, this, &QDialog::reject);
}

QLabel* DocumentDialog::instruction(const char* name, const QString& title, const QString& body, const QRect& geometry)
{
    auto* label =
        new QLabel(QStringLiteral("<p style='font-size:11pt; font-weight:bold; color:#1F3B5C'>%1</p><p>%2</p>")
                       .arg(title.toHtmlEscaped(), body.toHtmlEscaped()),
                   this);
    label->setObjectName(QString::fromLatin1(name));
    label->setProperty("listHelp", true);
    label->setTextFormat(Qt::RichText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(geometry);
    label->setContentsMargins(8, 4, 8, 4);
    return label;
}

namespace {
const QString kSection = QStringLiteral("Stampa");
const QString kPrintKey = QStringLiteral("Documentazione");
const QString kPerPageKey = QStringLiteral("FotoPerPagina");

QString remembered(const QString& key, const QString& fallback)
{
    try {
        return IniFile(programdir::file(QStringLiteral("Brevanto.ini"))).read(kSection, key, fallback);
    } catch (const IoError&) {
        return fallback;
    }
}

void remember(const QString& key, const QString& value)
{
    try {
        IniFile(programdir::file(QStringLiteral("Brevanto.ini"))).write(kSection, key, value);
    } catch (const IoError&) {
        // A folder that cannot be written asks again next time: nothing else depends on it.
    }
}
} // namespace

void DocumentDialog::addDocumentationChoice(const documentation::WorkingSet* set)
{
    documentation_ = set;
    constexpr int kMore = 58;
    setFixedSize(width(), height() + kMore);
    for (QPushButton* b : {btnAnnulla, btnStampa})
        b->move(b->x(), b->y() + kMore);
    chkDocumentazione = new QCheckBox(QStringLiteral("Stampa la documentazione fotografica"), this);
    chkDocumentazione->setObjectName(QStringLiteral("chkDocumentazione"));
    chkDocumentazione->setGeometry(20, 243, 326, 24);
    auto* perPage = new QLabel(QStringLiteral("Foto per pagina:"), this);
    perPage->setObjectName(QStringLiteral("lblFotoPerPagina"));
    perPage->setGeometry(40, 269, 130, 24);
    cboFotoPerPagina = new QComboBox(this);
    cboFotoPerPagina->setObjectName(QStringLiteral("cboFotoPerPagina"));
    for (int n : photopages::kPerPage)
        cboFotoPerPagina->addItem(QString::number(n));
    cboFotoPerPagina->setGeometry(170, 269, 60, 24);
    perPage->setBuddy(cboFotoPerPagina);
    chkDocumentazione->setChecked(remembered(kPrintKey, QStringLiteral("Sì")) != QStringLiteral("No"));
    const int n = cboFotoPerPagina->findText(remembered(kPerPageKey, QStringLiteral("4")));
    cboFotoPerPagina->setCurrentIndex(n < 0 ? cboFotoPerPagina->findText(QStringLiteral("4")) : n);
    // A card without photos has nothing to add: the choices show what is remembered, unchangeable.
    const bool photos = set && !set->items().isEmpty();
    chkDocumentazione->setEnabled(photos);
    cboFotoPerPagina->setEnabled(photos && chkDocumentazione->isChecked());
    perPage->setEnabled(cboFotoPerPagina->isEnabled());
    if (!photos)
        chkDocumentazione->setToolTip(QStringLiteral("La scheda non ha foto nella documentazione fotografica."));
    connect(chkDocumentazione, &QCheckBox::toggled, this, [this, perPage](bool on) {
        remember(kPrintKey, on ? QStringLiteral("Sì") : QStringLiteral("No"));
        cboFotoPerPagina->setEnabled(on);
        perPage->setEnabled(on);
    });
    connect(cboFotoPerPagina, &QComboBox::currentTextChanged, this,
            [](const QString& text) { remember(kPerPageKey, text); });
}

void DocumentDialog::addDocumentation(report::Template& t) const
{
    if (!documentation_ || !chkDocumentazione || !chkDocumentazione->isChecked())
        return;
    QList<photopages::Photo> photos;
    int number = 0;
    for (const documentation::Item& i : documentation_->items()) {
        photopages::Photo p;
        p.path = i.missing ? QString() : documentation_->pathOf(i);
        p.turns = i.turns;
        p.number = ++number;
        p.phase = i.photo.phase;
        p.date = i.photo.taken.isValid() ? i.photo.taken.toString(QStringLiteral("dd/MM/yyyy")) : QString();
        p.caption = i.photo.caption;
        photos << p;
    }
    photopages::add(t, photos, cboFotoPerPagina->currentText().toInt());
}

Printed DocumentDialog::print(const report::Template& t, QWidget* over)
{
    return printWithDialog(ui_, over ? over : this, t);
}

void DocumentDialog::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!e->spontaneous() && parentWidget())
        move(parentWidget()->window()->frameGeometry().center() - rect().center());
}
