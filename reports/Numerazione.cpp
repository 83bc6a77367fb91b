#include "reports/Numerazione.h"

#include "records/Numbering.h"
#include "storage/Amount.h"
#include "storage/IoError.h"
#include "storage/Text.h"
#include "widgets/FocusEffect.h"
#include "widgets/InputLimits.h"
#include "widgets/Keys.h"
#include "widgets/Messages.h"
#include "widgets/Style.h"
#include "widgets/Ui.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

namespace {
bool numberingMode(const QLabel* memory)
{
    return text::trim(memory->text()) == QStringLiteral("contratti");
}
} // namespace

TfrmNumerazione::TfrmNumerazione(Ui& ui, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), ui_(ui)
{
    setObjectName(QStringLiteral("frmNumerazione"));
    setWindowTitle(QStringLiteral(" Impostazione inizio numerazione"));
    lblMemory = new QLabel(this);
    lblMemory->setObjectName(QStringLiteral("lblMemory"));
    lblMemory->hide();

    auto* documents = new QLabel(this);
    documents->setObjectName(QStringLiteral("imgDocumenti"));
    documents->setPixmap(style::pixmap(QStringLiteral("ico_documenti")));
    auto* instructions = new QLabel(this);
    instructions->setObjectName(QStringLiteral("imgIstruzioni"));
    instructions->setPixmap(style::pixmap(QStringLiteral("istruzioni_numerazione")));
    auto* top = new QHBoxLayout;
    top->addWidget(documents, 0, Qt::AlignTop);
    top->addWidget(instructions);

    auto* group = new QGroupBox(QStringLiteral(" Inizia numerazione da: "), this);
    auto* area = new QWidget(group);
    area->setFixedSize(150, 44);
    txtInizio = new QLineEdit(QStringLiteral("1"), area);
    txtInizio->setObjectName(QStringLiteral("txtInizio"));
    // A hand-edited start longer than five digits is shown whole: only typing keeps to five.
    limitTyping(txtInizio, 5);
    txtInizio->setAlignment(Qt::AlignCenter);
    txtInizio->setProperty("fontRole", QStringLiteral("entry"));
    txtInizio->setGeometry(6, 6, 138, 32);
    new FocusEffect(QStringLiteral("effInizio"), txtInizio);
    auto* hand = new QLabel(group);
    hand->setObjectName(QStringLiteral("imgMano"));
    hand->setPixmap(style::pixmap(QStringLiteral("ico_mano")));
    auto* groupLayout = new QHBoxLayout(group);
    groupLayout->addStretch();
    groupLayout->addWidget(hand);
    groupLayout->addWidget(area);
    groupLayout->addStretch();

    auto* btnAnnulla = new QPushButton(QStringLiteral("Annulla"), this);
    btnAnnulla->setObjectName(QStringLiteral("btnAnnulla"));
    btnApplica = new QPushButton(QStringLiteral("Applica e chiudi"), this);
    btnApplica->setObjectName(QStringLiteral("btnApplica"));
    for (QPushButton* b : {btnAnnulla, btnApplica})
        dialogButton(b);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnAnnulla);
    buttons->addWidget(btnApplica);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 14);
    layout->addLayout(top);
    layout->addWidget(group);
    layout->addLayout(buttons);
    setFixedSize(420, 290);

    filterKeys(txtInizio, [](int, const QString& t) { return t.size() == 1 && t.at(0) >= u'0' && t.at(0) <= u'9'; });
    onEnter(txtInizio, [this] { btnApplica->setFocus(); });
    onFocusOut(txtInizio, [this] { txtInizio->setText(normalise(txtInizio->text())); });
    connect(btnAnnulla, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnApplica, &QPushButton::clicked, this, &TfrmNumerazione::btnApplicaClick);
}

QString TfrmNumerazione::normalise(const QString& t)
{
    if (text::trim(t).isEmpty())
        return QStringLiteral("1");
    const std::optional<double> v = amount::parse(t);
    const double rounded = v ? std::trunc(*v + 0.5) : 0;
    if (!v || std::abs(rounded) > double(numbering::kMaxStart))
        return QStringLiteral("1");
    return QString::number(static_cast<qint64>(rounded));
}

void TfrmNumerazione::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (numberingMode(lblMemory)) {
        try {
            txtInizio->setText(numbering::readStart());
        } catch (const IoError&) {
            txtInizio->clear(); // unreadable settings: start again from 1
        }
    }
    if (text::trim(txtInizio->text()).isEmpty())
        txtInizio->setText(QStringLiteral("1"));
    txtInizio->setFocus();
}

void TfrmNumerazione::btnApplicaClick()
{
    txtInizio->setText(normalise(txtInizio->text()));
    if (numberingMode(lblMemory)) {
        try {
            numbering::writeStart(text::trim(txtInizio->text()));
        } catch (const IoError&) {
            // Not written: say so instead of closing as if the start had been set.
            ui_.message(this, Ui::Kind::Error, messages::kArchiveAccess);
            return;
        }
    }
    accept();
}
