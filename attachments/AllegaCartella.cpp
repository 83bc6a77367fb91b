#include "attachments/AllegaCartella.h"

#include "attachments/Attachments.h"
#include "storage/FileNames.h"
#include "storage/IoError.h"
#include "storage/Text.h"
#include "widgets/Buttons.h"
#include "widgets/Dialogs.h"
#include "widgets/Keys.h"
#include "widgets/Style.h"
#include "widgets/Ui.h"

#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const char* const kOrdinal[] = {"1\u00B0", "2\u00B0", "3\u00B0"};

QString overwriteQuestion()
{
    return QStringLiteral(
        "Attenzione: nella cartella dei documenti allegati \u00E8 presente un file con lo stesso nome.\r\n\r\n"
        "Si vuole sovrascrivere il file esistente?");
}

QString attachedAs(const QString& chosen, const QString& name, filenames::Change why)
{
    const QString reason = why == filenames::Change::Spelling
                               ? QStringLiteral("contiene caratteri che la scheda non pu\u00F2 conservare")
                               : QStringLiteral("non \u00E8 valido come nome di file in Windows");
    return QStringLiteral("Il file \u00AB%1\u00BB \u00E8 stato allegato con il nome \u00AB%2\u00BB, perch\u00E9 il suo "
                          "nome %3.")
        .arg(chosen, name, reason);
}

const QString kCannotOpen = QStringLiteral(
    "Attenzione: il nome del file allegato non \u00E8 valido, quindi il file non pu\u00F2 essere aperto.\r\n\r\n"
    "Allegare di nuovo il documento con \u00ABSfoglia...\u00BB.");

QString notCopied(const QString& name)
{
    return QStringLiteral("Attenzione: non \u00E8 stato possibile copiare il file \u00AB%1\u00BB nella cartella dei "
                          "documenti allegati.\r\n\r\nIl file non \u00E8 stato allegato alla scheda.")
        .arg(name);
}
} // namespace

TfrmAllegaCartella::TfrmAllegaCartella(Ui& ui, QWidget* parent, Slots cardFiles, Slots cardDescs)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), ui_(ui), cardFiles_(cardFiles),
      cardDescs_(cardDescs)
{
    setObjectName(QStringLiteral("frmAllegaCartella"));
    setWindowTitle(QStringLiteral(" Allega file"));
    setFixedSize(634, 534);
    lblMemory = new QLabel(this);
    lblMemory->setObjectName(QStringLiteral("lblMemory"));
    lblMemory->hide();

    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("panContainer"));
    panel->setAttribute(Qt::WA_StyledBackground);
    panel->setGeometry(0, 0, 634, 534);
    auto* explain = new QLabel(
        QStringLiteral("Scegliere con \u00ABSfoglia...\u00BB i file da allegare alla scheda corrente, poi premere "
                       "\u00ABApplica e chiudi\u00BB e infine \u00ABSalva\u00BB sulla scheda per salvare le modifiche. "
                       "Per aprire un file allegato basta premere \u00ABApri\u00BB."),
        panel);
    explain->setObjectName(QStringLiteral("imgLogo"));
    explain->setProperty("listHelp", true);
    explain->setWordWrap(true);

    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(18, 14, 18, 14);
    layout->setSpacing(10);
    layout->addWidget(explain);
    for (int i = 0; i < 3; ++i)
        layout->addWidget(slotBox(i));
    layout->addStretch();
    btnAnnulla = new QPushButton(QStringLiteral("Annulla"), panel);
    btnAnnulla->setObjectName(QStringLiteral("btnAnnulla"));
    btnApplica = new QPushButton(QStringLiteral("Applica e chiudi"), panel);
    btnApplica->setObjectName(QStringLiteral("btnApplica"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {btnAnnulla, btnApplica}) {
        dialogButton(b);
        b->setMinimumWidth(140);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);

    // The screen starts from the card's slots, trimmed.
    for (size_t i = 0; i < 3; ++i) {
        if (cardFiles_[i])
            txtFile[i]->setText(attachments::shownName(cardFiles_[i]->text()));
        if (cardDescs_[i])
            txtDesc[i]->setText(text::trim(cardDescs_[i]->text()));
        btnApri[i]->setEnabled(!text::trim(txtFile[i]->text()).isEmpty());
    }
    connect(btnAnnulla, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnApplica, &QPushButton::clicked, this, &TfrmAllegaCartella::btnApplicaClick);
}

QWidget* TfrmAllegaCartella::slotBox(int slot)
{
    const size_t i = size_t(slot);
    auto* box = new QWidget(this);
    box->setObjectName(QStringLiteral("shpSlot0%1").arg(slot + 1));
    box->setProperty("attachmentSlot", true);
    box->setAttribute(Qt::WA_StyledBackground);
    auto* nameCaption = new QLabel(QStringLiteral("Nome %1 file allegato:").arg(QString::fromUtf8(kOrdinal[i])), box);
    nameCaption->setObjectName(QStringLiteral("lblCampo0%1").arg(2 * slot + 1));
    nameCaption->setProperty("field", true);
    txtFile[i] = new QLineEdit(box);
    txtFile[i]->setObjectName(QStringLiteral("txtFile0%1").arg(slot + 1));
    txtFile[i]->setReadOnly(true);
    txtFile[i]->setProperty("fontRole", QStringLiteral("name"));
    txtFile[i]->setProperty("attachmentName", true);
    imgCancella[i] = new ClickLabel(QStringLiteral("imgCancella0%1").arg(slot + 1), box);
    imgCancella[i]->setPixmap(style::pixmap(QStringLiteral("ico_gomma"), QSize(22, 22)));
    imgCancella[i]->setFixedSize(22, 22);
    imgCancella[i]->setToolTip(QStringLiteral("Svuota il nome del file"));
    btnSfoglia[i] = new QPushButton(QStringLiteral("Sfoglia..."), box);
    btnSfoglia[i]->setObjectName(QStringLiteral("btnSfoglia0%1").arg(slot + 1));
    btnApri[i] = new QPushButton(QStringLiteral("Apri"), box);
    btnApri[i]->setObjectName(QStringLiteral("btnApri0%1").arg(slot + 1));
    btnApri[i]->setEnabled(false);
    for (QPushButton* b : {btnSfoglia[i], btnApri[i]})
        dialogButton(b);
    auto* descCaption =
        new QLabel(QStringLiteral("Descrizione %1 file allegato:").arg(QString::fromUtf8(kOrdinal[i])), box);
    descCaption->setObjectName(QStringLiteral("lblCampo0%1").arg(2 * slot + 2));
    descCaption->setProperty("field", true);
    txtDesc[i] = new QLineEdit(box);
    txtDesc[i]->setObjectName(QStringLiteral("txtDesc0%1").arg(slot + 1));
    txtDesc[i]->setProperty("fontRole", QStringLiteral("entry"));

    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(12, 8, 12, 10);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(3);
    grid->addWidget(nameCaption, 0, 0, 1, 4);
    grid->addWidget(txtFile[i], 1, 0);
    grid->addWidget(imgCancella[i], 1, 1);
    grid->addWidget(btnSfoglia[i], 1, 2);
    grid->addWidget(btnApri[i], 1, 3);
    grid->addWidget(descCaption, 2, 0, 1, 4);
    grid->addWidget(txtDesc[i], 3, 0, 1, 4);
    grid->setColumnStretch(0, 1);

    connect(txtFile[i], &QLineEdit::textChanged, this,
            [this, i](const QString& t) { btnApri[i]->setEnabled(!text::trim(t).isEmpty()); });
    connect(btnSfoglia[i], &QPushButton::clicked, this, [this, slot] { btnSfogliaClick(slot); });
    connect(btnApri[i], &QPushButton::clicked, this, [this, slot] { btnApriClick(slot); });
    connect(imgCancella[i], &ClickLabel::clicked, this, [this, i] { txtFile[i]->clear(); });
    return box;
}

void TfrmAllegaCartella::btnSfogliaClick(int slot)
{
    const size_t i = size_t(slot);
    Ui::FileDialog d;
    d.title = QStringLiteral("Selezionare il file da allegare:");
    d.filters = {QStringLiteral("Tutti i file (*.*)")};
    const QString chosen = ui_.openFile(this, d);
    if (chosen.isEmpty())
        return;
    const QString before = txtFile[i]->text();
    const QString chosenName = QFileInfo(chosen).fileName();
    // The slot keeps the name the record and every system can hold, and the copy is made
    // under that name: a free one when the name had to change, and the spelling of the file
    // already there when the two differ only in case (one file on Windows).
    const filenames::Portable portable = attachments::portableName(chosenName);
    QString name = portable.name;
    const bool renamed = portable.change != filenames::Change::None;
    if (QDir(attachments::folder()).exists()) {
        if (renamed)
            name = attachments::freeName(name);
        else if (const QString alike = attachments::existingAlike(name); !alike.isEmpty())
            name = alike;
    }
    txtFile[i]->setText(name);
    const QString target = attachments::pathOf(name);
    auto failed = [&] {
        // The slot must never name a file that is not in the folder.
        txtFile[i]->setText(before);
        ui_.message(this, Ui::Kind::Warning, notCopied(name));
    };
    if (target.isEmpty() || !QDir().mkpath(attachments::folder())) {
        failed();
        return;
    }
    // The folder's own copy chosen again: nothing to copy.
    if (attachments::sameFile(chosen, target))
        return;
    if (QFileInfo::exists(target) && ui_.question(this, overwriteQuestion()) == Ui::Answer::No)
        return;
    QProgressDialog progress(QStringLiteral("Copia del file \u00AB%1\u00BB in corso...").arg(name),
                             QStringLiteral("Annulla"), 0, 1000, this);
    progress.setWindowTitle(QStringLiteral(" Allega file"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(700);
    progress.setAutoClose(false);
    progress.setValue(0);
    bool cancelled = false;
    try {
        attachments::copy(chosen, target, [&](qint64 done, qint64 total) {
            progress.setValue(total > 0 ? int(done * 1000 / total) : 1000);
            cancelled = progress.wasCanceled();
            return !cancelled;
        });
    } catch (const IoError&) {
        if (cancelled)
            txtFile[i]->setText(before);
        else
            failed();
        return;
    }
    if (renamed)
        ui_.message(this, Ui::Kind::Information, attachedAs(chosenName, name, portable.change));
}

void TfrmAllegaCartella::btnApriClick(int slot)
{
    const QString path = attachments::pathOf(txtFile[size_t(slot)]->text());
    if (path.isEmpty()) {
        ui_.message(this, Ui::Kind::Warning, kCannotOpen);
        return;
    }
    // A laboratory folder unpacked from a Windows zip may hold the copy under its
    // Windows-1252 bytes, which nothing on Linux can open: it gets the name the card gives it.
    filenames::adoptWindowsName(path);
    ui_.openUrl(QStringLiteral("\"") + path + QStringLiteral("\""));
}

void TfrmAllegaCartella::btnApplicaClick()
{
    const QString mode = text::trim(lblMemory->text());
    if (mode == QStringLiteral("opere") || mode == QStringLiteral("interventi")) {
        for (size_t i = 0; i < 3; ++i) {
            if (cardFiles_[i])
                cardFiles_[i]->setText(text::trim(txtFile[i]->text()));
            if (cardDescs_[i])
                cardDescs_[i]->setText(text::trim(txtDesc[i]->text()));
        }
    }
    accept();
}

void attachToCard(Ui& ui, QWidget* card, const QString& mode, TfrmAllegaCartella::Slots files,
                  TfrmAllegaCartella::Slots descs)
{
    auto screen = std::make_unique<TfrmAllegaCartella>(ui, card, files, descs);
    screen->lblMemory->setText(mode);
    execOnce(ui, std::move(screen));
}
