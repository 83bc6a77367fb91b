#include "reports/FrameSource.h"

#include <QCoreApplication>
#include <QThread>

void FrameSource::setReceiver(QObject* context, std::function<void(const QImage&)> receiver)
{
    context_ = context;
    receiver_ = std::move(receiver);
}

void FrameSource::deliver(const QImage& frame)
{
    if (!link_->running || !context_ || !receiver_)
        return;
    if (QThread::currentThread() == context_->thread()) {
        receiver_(frame);
        return;
    }
    if (link_->pending.exchange(true))
        return; // the previous frame has not been taken yet
    QMetaObject::invokeMethod(
        context_,
        [link = link_, receiver = receiver_, frame] {
            link->pending = false;
            if (link->running)
                receiver(frame);
        },
        Qt::QueuedConnection);
}
