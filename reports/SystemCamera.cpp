// The system's first camera, through Qt Multimedia.
#include "reports/FrameSource.h"

#include <QCamera>
#include <QMediaCaptureSession>
#include <QMediaDevices>
#include <QVideoFrame>
#include <QVideoSink>

namespace {
class SystemCamera : public FrameSource {
public:
    SystemCamera()
    {
        const QList<QCameraDevice> cameras = QMediaDevices::videoInputs();
        if (cameras.isEmpty())
            return;
        camera_ = std::make_unique<QCamera>(cameras.constFirst());
        session_.setCamera(camera_.get());
        session_.setVideoSink(&sink_);
        // The sink may report frames on the camera's own thread: deliver() takes care of it.
        QObject::connect(
            &sink_, &QVideoSink::videoFrameChanged, &sink_, [this](const QVideoFrame& f) { deliver(f.toImage()); },
            Qt::DirectConnection);
    }
    ~SystemCamera() override { stop(); }
    void start() override
    {
        if (!camera_)
            return;
        setRunning(true);
        camera_->start();
    }
    void stop() override
    {
        setRunning(false);
        if (camera_)
            camera_->stop();
    }

private:
    std::unique_ptr<QCamera> camera_;
    QMediaCaptureSession session_;
    QVideoSink sink_;
};
} // namespace

std::unique_ptr<FrameSource> makeSystemCamera()
{
    return std::make_unique<SystemCamera>();
}
