#include "widgets/PhotoActions.h"

#include "storage/PhotoFiles.h"
#include "widgets/Dialogs.h"
#include "widgets/PictureFrame.h"
#include "widgets/Ui.h"
#include "widgets/Zoom.h"

namespace photoactions {

Ui::FileDialog openDialog()
{
    Ui::FileDialog d;
    d.title = QStringLiteral("Selezionare un file di immagine in formato Jpeg o Bitmap.");
    d.filters = QStringList{QStringLiteral("Immagine JPEG (*.jpg; *.jpeg)"), QStringLiteral("Immagine Bitmap (*.bmp)")};
    return d;
}

Ui::FileDialog saveDialog()
{
    Ui::FileDialog d;
    d.title = QStringLiteral("Selezionare la cartella in cui si desidera salvare il file Jpeg.");
    d.filters = QStringList{QStringLiteral("File Jpeg (*.jpg)")};
    d.defaultSuffix = QStringLiteral("jpg");
    d.initialName = QStringLiteral("Foto.jpg");
    return d;
}

void load(Ui& ui, QWidget* parent, PictureFrame* frame, const QImage& fallback)
{
    const QString file = ui.openFile(parent, openDialog());
    if (file.isEmpty())
        return;
    const std::optional<photofiles::Picture> chosen = photofiles::readChosen(file);
    if (chosen) {
        frame->setFileImage(chosen->image, chosen->jpeg);
        return;
    }
    frame->setStoredImage(fallback); // an undecodable file never replaces the stored photo
    // A picture refused for the size it claims is said, since it looks like a photo.
    if (const QString why = photofiles::oversize(file); !why.isEmpty())
        ui.message(parent, Ui::Kind::Warning, why);
}

void saveCopy(Ui& ui, QWidget* parent, const QImage& image)
{
    const QString file = ui.saveFile(parent, saveDialog());
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
