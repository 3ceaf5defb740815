#include "engine/window_thread.h"

#include <QMetaObject>
#include <QObject>
#include <QThread>

namespace tamrivo {

WindowThread::WindowThread()
    : shared_(std::make_shared<Shared>()),
      context_(std::make_unique<QObject>()),
      thread_(QThread::currentThread()) {}

WindowThread::~WindowThread() {
    stop();
}

bool WindowThread::isCurrent() const {
    return QThread::currentThread() == thread_;
}

void WindowThread::run(std::function<void()> task) {
    if (isCurrent()) {
        task();
    } else {
        post(std::move(task));
    }
}

bool WindowThread::post(std::function<void()> task) {
    const std::lock_guard lock(shared_->mutex);
    if (shared_->stopped) {
        return false;
    }
    // The stop check inside runs on the window thread, the only thread that stops: a task
    // either runs before the stop or never.
    const std::shared_ptr<Shared> shared = shared_;
    QMetaObject::invokeMethod(
        context_.get(),
        [shared, task = std::move(task)] {
            bool stopped = false;
            {
                const std::lock_guard innerLock(shared->mutex);
                stopped = shared->stopped;
            }
            if (!stopped) {
                task();
            }
        },
        Qt::QueuedConnection);
    return true;
}

void WindowThread::stop() {
    const std::lock_guard lock(shared_->mutex);
    shared_->stopped = true;
    shared_->changed.notify_all();
}

}  // namespace tamrivo
