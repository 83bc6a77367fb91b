#pragma once
#include <QImage>
#include <QObject>

#include <atomic>
#include <functional>
#include <memory>

// A camera that can be switched on and off and delivers frames, possibly on a thread of
// its own. deliver() hands each frame to the user-interface thread, one at a time: while a
// frame waits to be taken, newer ones are dropped, so frames never overlap and the camera
// thread never blocks on the user-interface thread (which could be stopping the camera).
class FrameSource : public QObject {
    Q_OBJECT
public:
    ~FrameSource() override = default;
    virtual void start() = 0;
    virtual void stop() = 0;

    void setReceiver(QObject* context, std::function<void(const QImage&)> receiver);

protected:
    // Called by implementations for every frame, from any thread.
    void deliver(const QImage& frame);
    void setRunning(bool running) { link_->running = running; }

private:
    // Shared with the frames in flight, which may outlive a replaced source.
    struct Link {
        std::atomic<bool> running{false};
        std::atomic<bool> pending{false};
    };
    std::shared_ptr<Link> link_ = std::make_shared<Link>();
    QObject* context_ = nullptr;
    std::function<void(const QImage&)> receiver_;
};

// The first camera of the system, through Qt Multimedia; null in a build without it.
std::unique_ptr<FrameSource> makeSystemCamera();
