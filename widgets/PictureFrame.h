#pragma once
#include <QByteArray>
#include <QImage>
#include <QWidget>

// A picture control that shows its bitmap scaled to fit with proportions kept, centred.
// It remembers whether its picture changed since it was shown from its stored file, so
// that a card rewrites a photo only when the user changed it.
class PictureFrame : public QWidget {
    Q_OBJECT
public:
    PictureFrame(const QString& name, QWidget* parent);
    // A picture the user put here (a capture, a deletion): changed.
    void setImage(const QImage& image);
    // A picture read from a file the user chose; its bytes are stored as they are.
    void setFileImage(const QImage& image, const QByteArray& fileBytes);
    // The picture as stored (or the placeholder shown for one that is missing): unchanged.
    void setStoredImage(const QImage& image);
    const QImage& image() const { return image_; }
    bool isChanged() const { return changed_; }
    // The chosen file's own bytes (JPEG) when there are any, else empty.
    const QByteArray& fileBytes() const { return fileBytes_; }
    void markStored();

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QImage image_;
    QByteArray fileBytes_;
    bool changed_ = false;
};
