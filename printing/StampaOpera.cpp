#include "printing/StampaOpera.h"

#include "printing/PrintFonts.h"

#include "printing/PrintJob.h"
#include "printing/Templates.h"
#include "storage/IoError.h"
#include "widgets/PictureFrame.h"
#include "widgets/Style.h"
#include "widgets/Ui.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QShowEvent>

QImage euroSign()
{
    QImage img(120, 120, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QFont f(printfonts::family(QStringLiteral("Arial")));
    f.setPixelSize(110);
    p.setFont(f);
    p.setPen(Qt::black);
    p.drawText(img.rect(), Qt::AlignCenter, QStringLiteral("\u20AC"));
    return img;
}

TfrmStampaOpera::TfrmStampaOpera(Ui& ui, QWidget* parent, const FieldTable<TSchedaOpera>& card,
                                 std::function<QImage()> photo, const documentation::WorkingSet* documentation)
    : DocumentDialog(ui, "frmStampaOpera", " Stampa scheda", QStringLiteral("Stampa"), parent), card_(card),
      photo_(std::move(photo))
{
    instruction("icoInf01", QStringLiteral("Stampa scheda"),
                QStringLiteral("L'operazione stampa su carta la scheda corrente con i dati inseriti dall'utente."),
                QRect(28, 28, 240, 83));
    auto* decoration = new QLabel(this);
    decoration->setObjectName(QStringLiteral("imgLogo01"));
    decoration->setPixmap(style::pixmap(QStringLiteral("tb_palette"), QSize(51, 81)));
    decoration->setAlignment(Qt::AlignCenter);
    decoration->setGeometry(280, 31, 51, 81);
    auto* separator = new QWidget(this);
    separator->setObjectName(QStringLiteral("shpSepara"));
    separator->setAttribute(Qt::WA_StyledBackground);
    separator->setGeometry(26, 120, 311, 4);
    auto* printerPicture = new QLabel(this);
    printerPicture->setObjectName(QStringLiteral("imgSezione04"));
    printerPicture->setPixmap(style::pixmap(QStringLiteral("tb_stampa"), QSize(64, 64)));
    printerPicture->setAlignment(Qt::AlignCenter);
    printerPicture->setGeometry(30, 140, 82, 72);
    instruction(
        "icoInf02", {},
        QStringLiteral("Premere \u00ABStampa\u00BB per avviare la stampa oppure \u00ABAnnulla\u00BB per annullare."),
        QRect(122, 140, 206, 71));
    imgLogo = new PictureFrame(QStringLiteral("imgLogo"), this);
    imgLogo->hide();
    imgTemp = new PictureFrame(QStringLiteral("imgTemp"), this);
    imgTemp->setImage(picture(QStringLiteral("blank_opera")));
    imgTemp->hide();
    addDocumentationChoice(documentation);
    connect(btnStampa, &QPushButton::clicked, this, &TfrmStampaOpera::btnStampaClick);
}

void TfrmStampaOpera::showEvent(QShowEvent* e)
{
    DocumentDialog::showEvent(e);
    if (e->spontaneous())
        return;
    const QImage photo = photo_ ? photo_() : QImage();
    imgLogo->setImage(photo.isNull() ? imgTemp->image() : photo);
}

report::Template TfrmStampaOpera::filled() const
{
    report::Template t = templates::artworkSheet();
    t.setPicture(QStringLiteral("imgLogo"), imgLogo->image().isNull() ? imgTemp->image() : imgLogo->image());
    t.setPicture(QStringLiteral("imgEuro"), euroSign());
    // Every value (the fields up to the price, each printed where the template has its
    // control's name) replaces its design text, also where the card has none.
    for (int f = 0; f <= TSchedaOpera::Valore; ++f) {
        const QString name = TSchedaOpera::control(TSchedaOpera::Field(f));
        t.setText(name, printedValue(card_, name));
    }
    t.setText(QStringLiteral("txtCalce"), templates::printStamp(now()));
    t.setText(QStringLiteral("txtCalceFoto"), t.item(QStringLiteral("txtCalce")).text);
    t.setText(QStringLiteral("txtCapoFoto"), t.item(QStringLiteral("txtCapo")).text);
    addDocumentation(t);
    return t;
}

void TfrmStampaOpera::btnStampaClick()
{
    try {
        // Pages the sheet does not have: said, and the screen stays open to try again.
        if (print(filled()) == Printed::NoPages)
            return;
    } catch (const IoError& e) {
        // The general error report: the error's own text; the screen stays open.
        showPrintFailure(ui_, this, e);
        return;
    }
    accept();
}
