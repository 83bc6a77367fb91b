#pragma once
#include "widgets/Ui.h"

#include <QImage>

class PictureFrame;
class QWidget;

// The picture actions both cards offer on a photo frame.
namespace photoactions {

// The file dialogs of the photo buttons: a JPEG or bitmap to load, a JPEG to save as.
Ui::FileDialog openDialog();
Ui::FileDialog saveDialog();

// Asks for a JPEG or bitmap file and puts it into the frame; an unreadable file gives fallback.
void load(Ui& ui, QWidget* parent, PictureFrame* frame, const QImage& fallback);
// Asks for a file name and writes the picture there as JPEG. A failure leaves everything as
// it is, so that no later save of the card can replace a stored photo with a placeholder.
void saveCopy(Ui& ui, QWidget* parent, const QImage& image);
// Puts a photo of the card's history into the frame: the stored photo (storedPath) as it
// is, another file as a picture the next save stores, none as the fallback.
void restore(PictureFrame* frame, const QString& file, const QString& storedPath, const QImage& fallback);
// Shows the picture in a new zoom window, modally.
void zoom(Ui& ui, QWidget* parent, const QImage& image);

} // namespace photoactions
