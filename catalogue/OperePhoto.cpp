// The artwork card's photo buttons.
#include "catalogue/Opere.h"

#include "catalogue/Zoom.h"
#include "common/PhotoFiles.h"
#include "common/Ui.h"
#include "common/Widgets.h"

void TfrmOpere::btnCaricaFotoClick()
{
    const QString file = ui_.openFile(this, photofiles::openDialog());
    if (file.isEmpty())
        return;
    const std::optional<QImage> image = photofiles::read(file);
    imgFoto->setImage(image ? *image : blankPicture());
}

void TfrmOpere::btnSalvaFotoClick()
{
    const QString file = ui_.saveFile(this, photofiles::saveDialog());
    if (file.isEmpty())
        return;
    // A failed write leaves the frame's picture as it is, so that no later save of the
    // card can replace its stored photo with the blank picture.
    photofiles::writeJpeg(imgFoto->image(), photofiles::withJpegSuffix(file));
}

void TfrmOpere::btnCancFotoClick()
{
    imgFoto->setImage(blankPicture());
}

void TfrmOpere::btnZoomFotoClick()
{
    auto* zoom = new TfrmZoom(this);
    zoom->setPicture(imgFoto->image());
    ui_.exec(zoom);
    delete zoom;
}
