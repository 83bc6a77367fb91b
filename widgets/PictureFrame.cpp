#include "widgets/PictureFrame.h"

#include <QPainter>

PictureFrame::PictureFrame(const QString& name, QWidget* parent) : QWidget(parent)
{
    setObjectName(name);
}

void PictureFrame::setImage(const QImage& image)
{
    image_ = image;
    fileBytes_.clear();
    changed_ = true;
    update();
}

void PictureFrame::setFileImage(const QImage& image, const QByteArray& fileBytes)
{
    setImage(image);
    fileBytes_ = fileBytes;
}

void PictureFrame::setStoredImage(const QImage& image)
{
    setImage(image);
    changed_ = false;
}

void PictureFrame::markStored()
{
    fileBytes_.clear();
    changed_ = false;
}

void PictureFrame::paintEvent(QPaintEvent*)
{
    if (image_.isNull())
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const QSize fitted = image_.size().scaled(size(), Qt::KeepAspectRatio);
    const QRect target(QPoint((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted);
    p.drawImage(target, image_);
}
