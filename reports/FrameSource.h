#pragma once
#include <QImage>
#include <QObject>

#include <atomic>
#include <functional>

// A camera that can be switched on and off and delivers frames, possibly on a thread of
// its own. deliver() hands each frame to the user-interface thread and waits until the
// receiver has taken it, so frames never overlap.
class FrameSource : public QObject {
    Q_OBJECT
public:
    ~FrameSource() override = default;
    virtual void start() = 0;
    virtual void stop() = 0;
    // False when the system has no camera at all.
    virtual bool available() const { return true; }

    void setReceiver(QObject* context, std::function<void(const QImage&)> receiver);

protected:
    // Called by implementations for every frame, from any thread.
    void deliver(const QImage& frame);
    void setRunning(bool running) { running_ = running; }

private:
    QObject* context_ = nullptr;
    std::function<void(const QImage&)> receiver_;
    std::atomic<bool> running_{false};
};

// The first camera of the system, through Qt Multimedia.
std::unique_ptr<FrameSource> makeSystemCamera();
