// The artwork card's photo buttons.
#include "catalogue/Opere.h"

#include "widgets/PhotoActions.h"
#include "widgets/PictureFrame.h"

void TfrmOpere::btnCaricaFotoClick()
{
    photoactions::load(ui_, this, imgFoto, blankPicture());
}

void TfrmOpere::btnSalvaFotoClick()
{
    photoactions::saveCopy(ui_, this, imgFoto->image());
}

void TfrmOpere::btnCancFotoClick()
{
    imgFoto->setImage(blankPicture());
}

void TfrmOpere::btnZoomFotoClick()
{
    photoactions::zoom(ui_, this, imgFoto->image());
}
