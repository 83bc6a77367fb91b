#pragma once
#include <QDialog>
#include <QImage>

#include <memory>

class FrameSource;
class PictureFrame;
class QLabel;
class Ui;

// Shows the live camera image, captures a still and puts it into a photo of the report card.
class TfrmWebCam : public QDialog {
    Q_OBJECT
public:
    explicit TfrmWebCam(Ui& ui, QWidget* parent = nullptr);
    ~TfrmWebCam() override;

    QLabel* lblMemory;
    PictureFrame* imgCamera;
    PictureFrame* imgTarget;

    // The camera used by "Accendi webcam"; the system's first camera unless set.
    void setSource(std::unique_ptr<FrameSource> source);

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
    std::unique_ptr<FrameSource> source_;
    QLabel* imgBianco_;
};
