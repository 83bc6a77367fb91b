#pragma once
#include <QDialog>
#include <QImage>

class PictureFrame;

// The photo at the size of the screen; any click closes it.
class TfrmZoom : public QDialog {
    Q_OBJECT
public:
    explicit TfrmZoom(QWidget* parent = nullptr);
    void setPicture(const QImage& image);
    PictureFrame* imgFoto;

protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* panContainer_;
};
