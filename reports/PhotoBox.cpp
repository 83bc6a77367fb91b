#include "reports/PhotoBox.h"

#include "widgets/Buttons.h"
#include "widgets/PhotoActions.h"
#include "widgets/PictureFrame.h"
#include "widgets/StatusHints.h"
#include "widgets/Style.h"
#include "widgets/Ui.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

PhotoBox::PhotoBox(Ui& ui, const QString& suffix, const QString& placeholderPicture, const QString& mark,
                   StatusHints& hints, QWidget* parent)
    : QWidget(parent), ui_(ui)
{
    setObjectName(QStringLiteral("panFoto") + (suffix.isEmpty() ? QStringLiteral("01") : suffix));
    setAttribute(Qt::WA_StyledBackground);
    setProperty("photoBox", true);

    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(2);
    auto* ico = new QLabel(this);
    ico->setObjectName(suffix.isEmpty() ? QStringLiteral("icoA") : QStringLiteral("icoB"));
    ico->setPixmap(style::pixmap(mark));
    buttons->addWidget(ico, 0, Qt::AlignHCenter);
    auto add = [&](PictureButton*& b, const QString& name, const char* pic, const char* hint) {
        b = new PictureButton(name + suffix, QString::fromLatin1(pic), this, 28);
        hints.hint(b, QString::fromUtf8(hint));
        buttons->addWidget(b);
    };
    add(btnCaricaFoto, QStringLiteral("btnCaricaFoto"), "ph_carica", "Carica una foto esistente.");
    add(btnAcquisisciFoto, QStringLiteral("btnAcquisisciFoto"), "ph_webcam", "Acquisisci la foto da webcam.");
    add(btnSalvaFoto, QStringLiteral("btnSalvaFoto"), "ph_salva", "Salva la foto su disco.");
    add(btnCancFoto, QStringLiteral("btnCancFoto"), "ph_canc", "Cancella la foto.");
    add(btnZoomFoto, QStringLiteral("btnZoomFoto"), "ph_zoom", "Visualizza la foto nelle sue dimensioni reali.");
    buttons->addStretch();

    auto* mount = new QWidget(this);
    mount->setObjectName(QStringLiteral("shpFoto") + (suffix.isEmpty() ? QStringLiteral("01") : suffix));
    mount->setAttribute(Qt::WA_StyledBackground);
    mount->setProperty("mount", true);
    imgFoto = new PictureFrame(QStringLiteral("imgFoto") + suffix, mount);
    imgFoto->setFixedSize(370, 260);
    auto* mountLayout = new QVBoxLayout(mount);
    mountLayout->setContentsMargins(6, 6, 6, 6);
    mountLayout->addWidget(imgFoto);
    imgBianco_ = new QLabel(this);
    imgBianco_->setObjectName(QStringLiteral("imgBianco") + suffix);
    imgBianco_->setPixmap(style::pixmap(placeholderPicture));
    imgBianco_->hide();
    hints.blank(mount);
    hints.blank(imgFoto);
    hints.blank(this);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(buttons);
    layout->addWidget(mount);
    clear();

    connect(btnCaricaFoto, &QToolButton::clicked, this, &PhotoBox::btnCaricaFotoClick);
    connect(btnAcquisisciFoto, &QToolButton::clicked, this, &PhotoBox::webcamRequested);
    connect(btnSalvaFoto, &QToolButton::clicked, this, &PhotoBox::btnSalvaFotoClick);
    connect(btnCancFoto, &QToolButton::clicked, this, &PhotoBox::clear);
    connect(btnZoomFoto, &QToolButton::clicked, this, &PhotoBox::btnZoomFotoClick);
}

QImage PhotoBox::image() const
{
    return imgFoto->image();
}

void PhotoBox::setImage(const QImage& image)
{
    imgFoto->setImage(image);
}

QImage PhotoBox::placeholder() const
{
    return imgBianco_->pixmap().toImage();
}

void PhotoBox::btnCaricaFotoClick()
{
    photoactions::load(ui_, this, imgFoto, placeholder());
}

void PhotoBox::btnSalvaFotoClick()
{
    photoactions::saveCopy(ui_, this, image());
}

void PhotoBox::btnZoomFotoClick()
{
    photoactions::zoom(ui_, window(), image());
}
