#pragma once
#include <QDialog>
#include <QImage>

#include <functional>
#include <memory>
#include <optional>

class FrameSource;
class PhotoBox;
class PictureFrame;
class QLabel;
class Ui;

// Shows the live camera image, captures a still and puts it into the report card's photo
// frame that the caller hands over (the mode in lblMemory names which one).
class TfrmWebCam : public QDialog {
    Q_OBJECT
public:
    explicit TfrmWebCam(Ui& ui, QWidget* parent = nullptr, PhotoBox* target = nullptr);
    ~TfrmWebCam() override;

    QLabel* lblMemory;
    PictureFrame* imgCamera;
    PictureFrame* imgTarget;

    // The camera used by "Accendi webcam"; the system's first camera unless set.
    void setSource(std::unique_ptr<FrameSource> source);
    // In the mode "documentazione": what receives the still captured (nothing is imported
    // when none was).
    std::function<void(const QImage&)> importTo;
    // Shows the screen in the mode "documentazione" and gives the still imported, if any.
    static std::optional<QImage> captureStill(Ui& ui, QWidget* over);

    void btnAccendiClick();
    void btnSpegniClick();
    void btnCatturaClick();
    void btnSalvaFotogrammaClick();
    void btnImportaFotoClick();
    void btnCloseClick();

private:
    void onFrame(const QImage& frame);
    QImage webcamDrawing() const;

    Ui& ui_;
    PhotoBox* target_;
    std::unique_ptr<FrameSource> source_;
    QLabel* imgBianco_;
    bool captured_ = false;
};
