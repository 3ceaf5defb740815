#include "engine/engine_window.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QResizeEvent>

#include "engine/window_keys.h"

namespace tamrivo {

EngineWindow::EngineWindow(WindowHandle handle, const WindowDefinition& definition,
                           std::unique_ptr<WindowController> controller, QWidget* owner)
    : QWidget(owner, Qt::Window),
      handle_(handle),
      definition_(definition),
      controller_(std::move(controller)) {}

EngineWindow::~EngineWindow() = default;

void EngineWindow::addControl(Control control) {
    controls_.push_back(control);
}

const Control* EngineWindow::control(const Text& name) const {
    for (const Control& control : controls_) {
        if (control.definition->name == name) {
            return &control;
        }
    }
    return nullptr;
}

void EngineWindow::dock(QWidget* bar, bool top) {
    bars_.push_back({bar, top});
    layOutBars();
}

bool EngineWindow::raise(EventKind kind, Handler handler, const Text& control, int argument) {
    if (handler == Handler::None || !controller_ || retired_) {
        return false;
    }
    ++handlersRunning_;
    const bool consumed = controller_->handleEvent({handler, kind, handle_, control, argument});
    --handlersRunning_;
    if (retired_ && handlersRunning_ == 0) {
        finishRetiring();
    }
    return consumed;
}

void EngineWindow::raiseCreated() {
    created_ = true;
    raise(EventKind::Created, definition_.handlerFor(EventKind::Created));
}

void EngineWindow::retire() {
    if (retired_) {
        return;
    }
    retired_ = true;
    hide();
    setParent(nullptr);  // its owner may go first; this window goes on its own
    if (handlersRunning_ == 0) {
        finishRetiring();
    }
}

void EngineWindow::finishRetiring() {
    controller_.reset();
    deleteLater();  // a widget of this window may still be on the stack (a context menu)
}

void EngineWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layOutBars();
    if (created_) {
        raise(EventKind::Resized, definition_.handlerFor(EventKind::Resized));
    }
}

void EngineWindow::closeEvent(QCloseEvent* event) {
    event->ignore();  // the engine ends the window after the current event, as destroyWindow does
    if (closeRequest_ && !retired_) {
        closeRequest_();
    }
}

void EngineWindow::keyPressEvent(QKeyEvent* event) {
    if (!answerWindowKey(*this, *event)) {
        QWidget::keyPressEvent(event);
    }
}

void EngineWindow::layOutBars() {
    for (const DockedBar& docked : bars_) {
        const int height = docked.bar->height();
        docked.bar->setGeometry(0, docked.top ? 0 : this->height() - height, width(), height);
    }
}

}  // namespace tamrivo
