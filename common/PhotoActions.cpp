#include "common/PhotoActions.h"

#include "common/Dialogs.h"
#include "common/PhotoFiles.h"
#include "common/PictureFrame.h"
#include "common/Ui.h"
#include "common/Zoom.h"

namespace photoactions {

void load(Ui& ui, QWidget* parent, PictureFrame* frame, const QImage& fallback)
{
    const QString file = ui.openFile(parent, photofiles::openDialog());
    if (file.isEmpty())
        return;
    const std::optional<photofiles::Picture> chosen = photofiles::readChosen(file);
    if (chosen)
        frame->setFileImage(chosen->image, chosen->jpeg);
    else
        frame->setStoredImage(fallback); // an undecodable file never replaces the stored photo
}

void saveCopy(Ui& ui, QWidget* parent, const QImage& image)
{
    const QString file = ui.saveFile(parent, photofiles::saveDialog());
    if (!file.isEmpty())
        photofiles::writeJpeg(image, photofiles::withJpegSuffix(file));
}

void zoom(Ui& ui, QWidget* parent, const QImage& image)
{
    auto window = std::make_unique<TfrmZoom>(parent);
    window->setPicture(image);
    execOnce(ui, std::move(window));
}

void restore(PictureFrame* frame, const QString& file, const QString& storedPath, const QImage& fallback)
{
    if (file == storedPath && !file.isEmpty()) {
        const std::optional<QImage> stored = photofiles::decode(file, "jpeg");
        frame->setStoredImage(stored ? *stored : fallback);
        return;
    }
    const std::optional<photofiles::Picture> kept = file.isEmpty() ? std::nullopt : photofiles::readChosen(file);
    if (kept)
        frame->setFileImage(kept->image, kept->jpeg);
    else
        frame->setImage(fallback);
}

} // namespace photoactions
