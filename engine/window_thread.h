#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <type_traits>
#include <utility>

class QObject;
class QThread;

namespace tamrivo {

// Carries calls from any thread to the window thread (the one that constructed this). On
// the window thread a call runs at once: Qt hangs on a blocking queued call to its own
// thread. Once stopped, waiting callers are let go with their fallback and later calls are
// dropped, so no worker can hang on a window thread that has finished its loop.
class WindowThread {
public:
    WindowThread();
    ~WindowThread();
    WindowThread(const WindowThread&) = delete;
    WindowThread& operator=(const WindowThread&) = delete;

    bool isCurrent() const;

    // Runs the task now on the window thread, otherwise queues it there and returns.
    void run(std::function<void()> task);
    // Queues the task for the window thread even when called there; false once stopped.
    // A queued task is skipped if it comes up after a stop.
    bool post(std::function<void()> task);

    // Runs the task on the window thread and returns its result, waiting when called from
    // elsewhere; the fallback when the window thread stops first.
    template <class Result, class Task>
    Result call(Task&& task, Result fallback);

    void stop();

private:
    struct Shared {
        std::mutex mutex;
        std::condition_variable changed;
        bool stopped = false;
    };

    std::shared_ptr<Shared> shared_;
    std::unique_ptr<QObject> context_;
    QThread* thread_;
};

template <class Result, class Task>
Result WindowThread::call(Task&& task, Result fallback) {
    if (isCurrent()) {
        return task();
    }
    auto result = std::make_shared<std::optional<Result>>();
    auto work = std::make_shared<std::decay_t<Task>>(std::forward<Task>(task));
    const std::shared_ptr<Shared> shared = shared_;
    const bool queued = post([shared, result, work] {
        Result value = (*work)();
        const std::lock_guard lock(shared->mutex);
        *result = std::move(value);
        shared->changed.notify_all();
    });
    if (!queued) {
        return fallback;
    }
    std::unique_lock lock(shared->mutex);
    shared->changed.wait(lock, [&] { return result->has_value() || shared->stopped; });
    return result->has_value() ? std::move(**result) : std::move(fallback);
}

}  // namespace tamrivo
