#include "widgets/Zoom.h"

#include "widgets/PictureFrame.h"

#include <QEvent>
#include <QScreen>
#include <QVBoxLayout>

TfrmZoom::TfrmZoom(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmZoom"));
    setWindowTitle(QStringLiteral(" Fai clic sulla foto per chiudere questa finestra"));
    panContainer_ = new QWidget(this);
    panContainer_->setObjectName(QStringLiteral("panContainer"));
    imgFoto = new PictureFrame(QStringLiteral("imgFoto"), panContainer_);
    auto* inner = new QVBoxLayout(panContainer_);
    inner->setContentsMargins(0, 0, 0, 0);
    inner->addWidget(imgFoto);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panContainer_, 0, Qt::AlignCenter);
    for (QWidget* w : {static_cast<QWidget*>(this), panContainer_, static_cast<QWidget*>(imgFoto)}) {
        w->installEventFilter(this);
        w->setCursor(Qt::PointingHandCursor);
    }
    setWindowState(Qt::WindowMaximized);
}

void TfrmZoom::setPicture(const QImage& image)
{
    imgFoto->setImage(image);
}

void TfrmZoom::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    const QSize area = screen() ? screen()->size() : QSize(1024, 768);
    panContainer_->setFixedSize(area.width() - 60, area.height() - 90);
}

bool TfrmZoom::eventFilter(QObject*, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        accept();
        return true;
    }
    return false;
}
