#include "bench/app/quit_when_shown.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <utility>

namespace tamrivo::bench {
namespace {

class ShownWatcher final : public QObject {
public:
    ShownWatcher(QWidget& window, std::function<void()> quit)
        : QObject(&window), quit_(std::move(quit)) {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !painted_) {
            painted_ = true;
            QTimer::singleShot(0, this, quit_);  // after the paint itself has finished
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> quit_;
    bool painted_ = false;
};

}  // namespace

void quitWhenShown(QWidget& window, std::function<void()> quit) {
    new ShownWatcher(window, std::move(quit));  // owned by the window
}

}  // namespace tamrivo::bench
