#include "reports/WebCam.h"

#include "reports/FrameSource.h"
#include "reports/PhotoBox.h"
#include "storage/PhotoFiles.h"
#include "storage/Text.h"
#include "widgets/Dialogs.h"
#include "widgets/Keys.h"
#include "widgets/Messages.h"
#include "widgets/PhotoActions.h"
#include "widgets/PictureFrame.h"
#include "widgets/Style.h"
#include "widgets/Ui.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

TfrmWebCam::TfrmWebCam(Ui& ui, QWidget* parent, PhotoBox* target)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), ui_(ui), target_(target)
{
    setObjectName(QStringLiteral("frmWebCam"));
    setWindowTitle(QStringLiteral(" Cattura foto con webcam"));
    lblMemory = new QLabel(this);
    lblMemory->setObjectName(QStringLiteral("lblMemory"));
    lblMemory->hide();
    imgBianco_ = new QLabel(this);
    imgBianco_->setObjectName(QStringLiteral("imgBianco"));
    imgBianco_->setPixmap(style::pixmap(QStringLiteral("drawing_webcam")));
    imgBianco_->hide();

    imgCamera = new PictureFrame(QStringLiteral("imgCamera"), this);
    imgCamera->setFixedSize(366, 274);
    imgCamera->setImage(webcamDrawing());
    imgTarget = new PictureFrame(QStringLiteral("imgTarget"), this);
    imgTarget->setFixedSize(366, 274);
    imgTarget->setImage(picture(QStringLiteral("drawing_camera")));

    auto button = [this](const char* name, const char* text) {
        auto* b = new QPushButton(QString::fromUtf8(text), this);
        b->setObjectName(QString::fromLatin1(name));
        dialogButton(b);
        return b;
    };
    auto* btnAccendi = button("btnAccendi", "Accendi webcam");
    auto* btnSpegni = button("btnSpegni", "Spegni webcam");
    auto* btnCattura = button("btnCattura", "Cattura foto");
    auto* btnSalvaFotogramma = button("btnSalvaFotogramma", "Salva foto su disco");
    auto* btnImportaFoto = button("btnImportaFoto", "Importa foto in scheda");
    auto* btnClose = button("btnClose", "Annulla");

    auto* left = new QWidget(this);
    left->setObjectName(QStringLiteral("panCamera"));
    left->setAttribute(Qt::WA_StyledBackground);
    auto* leftLayout = new QGridLayout(left);
    leftLayout->addWidget(imgCamera, 0, 0, 1, 2);
    leftLayout->addWidget(btnAccendi, 1, 0);
    leftLayout->addWidget(btnSpegni, 1, 1);
    auto* right = new QWidget(this);
    right->setObjectName(QStringLiteral("panTarget"));
    right->setAttribute(Qt::WA_StyledBackground);
    auto* rightLayout = new QGridLayout(right);
    rightLayout->addWidget(imgTarget, 0, 0, 1, 2);
    rightLayout->addWidget(btnCattura, 1, 0);
    rightLayout->addWidget(btnSalvaFotogramma, 1, 1);
    rightLayout->addWidget(btnImportaFoto, 2, 0);
    rightLayout->addWidget(btnClose, 2, 1);

    auto* layout = new QGridLayout(this);
    layout->addWidget(left, 0, 0, Qt::AlignTop);
    layout->addWidget(right, 0, 1, Qt::AlignTop);
    setFixedSize(sizeHint());

    connect(btnAccendi, &QPushButton::clicked, this, &TfrmWebCam::btnAccendiClick);
    connect(btnSpegni, &QPushButton::clicked, this, &TfrmWebCam::btnSpegniClick);
    connect(btnCattura, &QPushButton::clicked, this, &TfrmWebCam::btnCatturaClick);
    connect(btnSalvaFotogramma, &QPushButton::clicked, this, &TfrmWebCam::btnSalvaFotogrammaClick);
    connect(btnImportaFoto, &QPushButton::clicked, this, &TfrmWebCam::btnImportaFotoClick);
    connect(btnClose, &QPushButton::clicked, this, &TfrmWebCam::btnCloseClick);
}

TfrmWebCam::~TfrmWebCam()
{
    if (source_)
        source_->stop();
}

QImage TfrmWebCam::webcamDrawing() const
{
    return imgBianco_->pixmap().toImage();
}

void TfrmWebCam::setSource(std::unique_ptr<FrameSource> source)
{
    if (source_)
        source_->stop();
    source_ = std::move(source);
    source_->setReceiver(this, [this](const QImage& frame) { onFrame(frame); });
}

void TfrmWebCam::onFrame(const QImage& frame)
{
    if (!frame.isNull())
        imgCamera->setImage(frame.copy());
}

void TfrmWebCam::btnAccendiClick()
{
    if (!source_) {
        std::unique_ptr<FrameSource> camera = makeSystemCamera();
        if (!camera) {
            ui_.message(this, Ui::Kind::Plain, messages::kNoCapture);
            return;
        }
        setSource(std::move(camera));
    }
    source_->start(); // without a camera nothing arrives and the drawing stays
}

void TfrmWebCam::btnSpegniClick()
{
    if (source_)
        source_->stop();
}

void TfrmWebCam::btnCatturaClick()
{
    imgTarget->setImage(imgCamera->image().copy());
    captured_ = true;
}

void TfrmWebCam::btnSalvaFotogrammaClick()
{
    const QString file = ui_.saveFile(this, photoactions::saveDialog());
    if (file.isEmpty())
        return;
    if (!photofiles::writeJpeg(imgTarget->image(), photofiles::withJpegSuffix(file)))
        imgTarget->setImage(webcamDrawing());
}

void TfrmWebCam::btnImportaFotoClick()
{
    btnSpegniClick();
    const QString mode = text::trim(lblMemory->text());
    if (target_ && (mode == QStringLiteral("foto01") || mode == QStringLiteral("foto02")))
        target_->setImage(imgTarget->image().copy());
    else if (importTo && mode == QStringLiteral("documentazione") && captured_)
        importTo(imgTarget->image().copy());
    accept();
}

std::optional<QImage> TfrmWebCam::captureStill(Ui& ui, QWidget* over)
{
    std::optional<QImage> still;
    auto webcam = std::make_unique<TfrmWebCam>(ui, over);
    webcam->lblMemory->setText(QStringLiteral("documentazione"));
    webcam->importTo = [&still](const QImage& image) { still = image; };
    execOnce(ui, std::move(webcam));
    return still;
}

void TfrmWebCam::btnCloseClick()
{
    btnSpegniClick();
    reject();
}
