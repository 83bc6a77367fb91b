#pragma once
#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QtTest>

#include <functional>

// Acts on the next real modal window once it shows: polls for qApp->activeModalWidget()
// and runs act on it. Fails the test in its destructor when no modal window came.
class ModalDriver {
public:
    explicit ModalDriver(std::function<void(QWidget*)> act) : act_(std::move(act))
    {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || done_)
                return;
            done_ = true;
            timer_.stop();
            act_(modal);
        });
        timer_.start();
    }
    ~ModalDriver()
    {
        timer_.stop();
        if (!done_ && !QTest::currentTestFailed())
            QTest::qFail("the expected modal window never showed", __FILE__, __LINE__);
    }
    ModalDriver(const ModalDriver&) = delete;
    ModalDriver& operator=(const ModalDriver&) = delete;

private:
    std::function<void(QWidget*)> act_;
    QTimer timer_;
    bool done_ = false;
};
