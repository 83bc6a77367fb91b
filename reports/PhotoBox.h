#pragma once
#include <QImage>
#include <QWidget>

class PictureButton;
class PictureFrame;
class QLabel;
class StatusHints;
class Ui;

// One photo frame of the report card with its five buttons: load, webcam, save a copy,
// remove, zoom. suffix is "" for photo 1 and "02" for photo 2, as the control names say.
class PhotoBox : public QWidget {
    Q_OBJECT
public:
    PhotoBox(Ui& ui, const QString& suffix, const QString& placeholder, const QString& mark, StatusHints& hints,
             QWidget* parent);

    PictureFrame* imgFoto;
    PictureButton *btnCaricaFoto, *btnAcquisisciFoto, *btnSalvaFoto, *btnCancFoto, *btnZoomFoto;

    QImage image() const;
    void setImage(const QImage& image);
    QImage placeholder() const;
    void clear() { setImage(placeholder()); }

    void btnCaricaFotoClick();
    void btnSalvaFotoClick();
    void btnZoomFotoClick();

signals:
    void webcamRequested();

private:
    Ui& ui_;
    QLabel* imgBianco_;
};
