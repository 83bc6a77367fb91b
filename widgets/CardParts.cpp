#include "widgets/CardParts.h"

#include "storage/Amount.h"
#include "widgets/Buttons.h"
#include "widgets/Fields.h"
#include "widgets/Messages.h"
#include "widgets/StatusHints.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CardChrome::CardChrome(QWidget* card) : card_(card)
{
    band_ = styledPanel(QStringLiteral("panStatus"), card);
    panInfo = new QLabel(messages::kReady, band_);
    panInfo->setObjectName(QStringLiteral("panInfo"));
    auto* bandLayout = new QHBoxLayout(band_);
    bandLayout->setContentsMargins(12, 3, 12, 3);
    bandLayout->addWidget(panInfo);
    hints = new StatusHints(panInfo);

    toolbar_ = styledPanel(QStringLiteral("panToolbar"), card);
    bar_ = new QHBoxLayout(toolbar_);
    bar_->setContentsMargins(8, 4, 8, 4);
    bar_->setSpacing(2);
    for (QWidget* w : {card, band_, toolbar_})
        hints->blank(w);
}

PictureButton* CardChrome::button(const char* name, const char* pictureName, const char* hint, const QString& caption)
{
    auto* b = new PictureButton(QString::fromLatin1(name), QString::fromLatin1(pictureName), toolbar_, 36, caption);
    hints->hint(b, QString::fromUtf8(hint));
    bar_->addWidget(b);
    return b;
}

void CardChrome::spacing(int pixels)
{
    bar_->addSpacing(pixels);
}

void CardChrome::stretch()
{
    bar_->addStretch();
}

CardChrome::BrowseGroup CardChrome::browseGroup()
{
    BrowseGroup g;
    g.first = button("cmdPrimo", "tb_primo", "Visualizza la prima scheda in archivio.");
    g.previous = button("cmdIndietro", "tb_indietro", "Visualizza la scheda precedente in archivio.");
    g.position = new QLabel(toolbar_);
    g.position->setObjectName(QStringLiteral("lblPosizione"));
    g.position->setAlignment(Qt::AlignCenter);
    g.position->setMinimumWidth(90);
    bar_->addWidget(g.position);
    g.next = button("cmdAvanti", "tb_avanti", "Visualizza la scheda successiva in archivio.");
    g.last = button("cmdUltimo", "tb_ultimo", "Visualizza l'ultima scheda in archivio.");
    return g;
}

void CardChrome::assemble(QWidget* body)
{
    hints->blank(body);
    auto* layout = new QVBoxLayout(card_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolbar_);
    layout->addWidget(body, 1);
    layout->addWidget(band_);
}

void finishEditing(QWidget* card, QLineEdit* amountField, QPushButton* btnFocus)
{
    // Without an active window no focus-out arrives, so the amount is formatted here.
    if (card->focusWidget() == amountField)
        amountField->setText(amount::format(amountField->text()));
    btnFocus->setFocus();
}

QPushButton* focusButton(QWidget* card)
{
    auto* b = new QPushButton(card);
    b->setObjectName(QStringLiteral("btnFocus"));
    // Not a Tab stop: only the save gives it the focus.
    b->setFocusPolicy(Qt::NoFocus);
    b->setFixedSize(0, 0);
    b->lower();
    return b;
}

void slotLabels(QWidget* card, std::array<QLabel*, 3>& files, std::array<QLabel*, 3>& descs)
{
    for (int i = 0; i < 3; ++i) {
        files[size_t(i)] = new QLabel(card);
        files[size_t(i)]->setObjectName(QStringLiteral("lblFile0%1").arg(i + 1));
        files[size_t(i)]->hide();
        descs[size_t(i)] = new QLabel(card);
        descs[size_t(i)]->setObjectName(QStringLiteral("lblDesc0%1").arg(i + 1));
        descs[size_t(i)]->hide();
    }
}
