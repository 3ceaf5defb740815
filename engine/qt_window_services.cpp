#include "engine/qt_window_services.h"

#include <QApplication>
#include <QEventLoop>
#include <QScreen>

#include <algorithm>

#include "base/executable_directory.h"
#include "base/fatal_error.h"
#include "base/text_encoding.h"
#include "engine/conversions.h"
#include "engine/system_services.h"
#include "engine/unknown_control.h"
#include "engine/window_factory.h"
#include "ui/window_definition.h"

namespace tamrivo {
namespace {

constexpr int kIconError = 0x10;

// Room kept for the title bar the window manager adds above a window, which the window's own
// size leaves out.
constexpr int kTitleBarAllowance = 32;

// Moves the window so that it and its title bar stand inside the screen's free area (less
// any panel), as far as its size allows: a tall window centred over its owner would
// otherwise hide its buttons below the screen's edge.
void keepOnScreen(QWidget& window, const QScreen& screen) {
    const QRect free = screen.availableGeometry();
    const int lowest = free.bottom() + 1 - kTitleBarAllowance - window.height();
    const int rightmost = free.right() + 1 - window.width();
    window.move(std::clamp(window.x(), free.left(), std::max(free.left(), rightmost)),
                std::clamp(window.y(), free.top(), std::max(free.top(), lowest)));
}

// New windows open over their owner, or in the middle of the screen, and within the screen.
void centre(QWidget& window, const QWidget* owner) {
    const QScreen* screen = owner != nullptr ? owner->screen() : QGuiApplication::primaryScreen();
    QRect area;
    if (owner != nullptr) {
        area = owner->geometry();
    } else if (screen != nullptr) {
        area = screen->availableGeometry();
    }
    if (area.isValid()) {
        window.move(area.center() - window.rect().center());
    }
    if (screen != nullptr) {
        keepOnScreen(window, *screen);
    }
}

Rect toRect(const QRect& rect) {
    return {rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
}

}  // namespace

QtWindowServices::QtWindowServices() {
    QGuiApplication::setQuitOnLastWindowClosed(false);  // the engine ends its own loop
    QApplication::setWindowIcon(artwork_.windowIcon());
    setFatalErrorHandler(
        [this](const Text& message) { messageBox(message, kIconError, kDefaultMessageTitle); });
}

QtWindowServices::~QtWindowServices() {
    setFatalErrorHandler({});
    windowThread_.stop();
    windows_.clear();
    handles_.clear();
    for (const QPointer<EngineWindow>& window : made_) {
        delete window.data();  // an owner takes its owned windows along; their pointers clear
    }
}

int QtWindowServices::run() {
    if (!windows_.empty()) {
        QEventLoop loop;
        loop_ = &loop;
        loop.exec();
        loop_ = nullptr;
    }
    windowThread_.stop();
    return 0;
}

void QtWindowServices::setProgramDirectory(Text directory) {
    const std::lock_guard lock(systemMutex_);
    programDirectory_ = std::move(directory);
}

void QtWindowServices::setMessageBoxPresenter(MessageBoxPresenter presenter) {
    windowThread_.run([this, presenter = std::move(presenter)] { presenter_ = presenter; });
}

QWidget* QtWindowServices::widget(WindowHandle window, const Text& control) {
    return windowThread_.call<QWidget*>(
        [&]() -> QWidget* {
            if (control.empty()) {
                return findWindow(window);
            }
            const Control* found = findControl(window, control);
            return found == nullptr ? nullptr : found->widget;
        },
        nullptr);
}

EngineWindow* QtWindowServices::findWindow(WindowHandle window) const {
    const auto found = windows_.find(window);
    return found == windows_.end() ? nullptr : found->second;
}

// A window that is gone names nothing (a stale handle is no fault); a name the open window
// lacks is reported.
const Control* QtWindowServices::findControl(WindowHandle window, const Text& control) const {
    const EngineWindow* owner = findWindow(window);
    if (owner == nullptr) {
        return nullptr;
    }
    const Control* found = owner->control(control);
    if (found == nullptr && !control.empty()) {
        reportUnknownControl(window, control);
    }
    return found;
}

QWidget* QtWindowServices::controlWidget(WindowHandle window, const Text& control) const {
    const Control* found = findControl(window, control);
    return found == nullptr ? nullptr : found->widget;
}

QWidget* QtWindowServices::widgetOf(WindowHandle handle) const {
    const auto found = handles_.find(handle);
    return found == handles_.end() ? nullptr : found->second.widget;
}

std::vector<WindowHandle> QtWindowServices::openWindows(WindowKind kind) const {
    std::vector<WindowHandle> open;
    for (const auto& [handle, window] : windows_) {
        if (&window->definition() == &windowDefinition(kind)) {
            open.push_back(handle);
        }
    }
    std::sort(open.begin(), open.end());
    return open;
}

void QtWindowServices::prepareWindow(WindowKind kind) {
    windowThread_.run([this, kind] {
        const std::unique_ptr<EngineWindow> window(createWindow(
            windowDefinition(kind), 0, nullptr, nullptr, artwork_, [] { return WindowHandle{0}; }));
        window->grab();
    });
}

// Windows

WindowHandle QtWindowServices::loadWindow(WindowKind kind,
                                          std::unique_ptr<WindowController> controller,
                                          WindowHandle parent) {
    return windowThread_.call<WindowHandle>(
        [&] { return openWindow(kind, std::move(controller), parent); }, 0);
}

WindowHandle QtWindowServices::openWindow(WindowKind kind,
                                          std::unique_ptr<WindowController> controller,
                                          WindowHandle parent) {
    EngineWindow* owner = findWindow(parent);
    const WindowHandle handle = ++lastHandle_;
    EngineWindow* window = createWindow(windowDefinition(kind), handle, std::move(controller),
                                        owner, artwork_, [this] { return ++lastHandle_; });
    windows_[handle] = window;
    handles_[handle] = {window, window};
    for (const Control& control : window->controls()) {
        if (control.handle != 0) {
            handles_[control.handle] = {window, control.widget};
        }
    }
    std::erase_if(made_, [](const QPointer<EngineWindow>& made) { return made.isNull(); });
    made_.emplace_back(window);
    window->setCloseRequest([this, handle] { destroyWindow(handle); });
    centre(*window, owner);

    window->raiseCreated();
    if (findWindow(handle) == window) {
        window->show();
    }
    return handle;
}

void QtWindowServices::destroyWindow(WindowHandle window) {
    // Always queued, so the handler that asks for it finishes first.
    windowThread_.post([this, window] { closeWindow(window); });
}

void QtWindowServices::closeWindow(WindowHandle handle) {
    EngineWindow* window = findWindow(handle);
    if (window == nullptr) {
        return;  // already gone
    }
    std::vector<WindowHandle> owned;
    for (const auto& [otherHandle, other] : windows_) {
        if (other->parentWidget() == window) {
            owned.push_back(otherHandle);
        }
    }
    for (const WindowHandle ownedHandle : owned) {
        closeWindow(ownedHandle);
    }
    forget(*window);
    window->retire();
    if (windows_.empty() && loop_ != nullptr) {
        loop_->quit();
    }
}

void QtWindowServices::forget(EngineWindow& window) {
    for (const Control& control : window.controls()) {
        handles_.erase(control.handle);
    }
    handles_.erase(window.handle());
    windows_.erase(window.handle());
}

WindowHandle QtWindowServices::windowHandle(WindowHandle window, const Text& control) {
    return windowThread_.call<WindowHandle>(
        [&]() -> WindowHandle {
            if (control.empty()) {
                return findWindow(window) == nullptr ? 0 : window;
            }
            const Control* found = findControl(window, control);
            return found == nullptr ? 0 : found->handle;
        },
        0);
}

int QtWindowServices::messageBox(const Text& content, int flags, const Text& title,
                                 WindowHandle owner) {
    return windowThread_.call<int>(
        [&] {
            return presentMessageBox({content, flags, title, owner});
        },
        -1);
}

int QtWindowServices::presentMessageBox(const MessageBoxRequest& request) {
    if (presenter_) {
        return presenter_(request);
    }
    return showMessageBox(request, findWindow(request.owner));
}

void QtWindowServices::doEvents() {
    if (windowThread_.isCurrent()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}

// Geometry

Rect QtWindowServices::frameRect(WindowHandle handle) {
    return windowThread_.call<Rect>(
        [&]() -> Rect {
            const auto found = handles_.find(handle);
            if (found == handles_.end()) {
                return {};
            }
            const QWidget* widget = found->second.widget;
            const QRect client(widget->mapToGlobal(QPoint(0, 0)), widget->size());
            return toRect(widget == found->second.window ? client.marginsAdded(kNominalFrame)
                                                         : client);
        },
        Rect{});
}

Point QtWindowServices::screenToClient(WindowHandle window, Point screen) {
    return windowThread_.call<Point>(
        [&]() -> Point {
            const QWidget* widget = widgetOf(window);
            if (widget == nullptr) {
                return screen;
            }
            const QPoint client = widget->mapFromGlobal(QPoint(screen.x, screen.y));
            return {client.x(), client.y()};
        },
        screen);
}

void QtWindowServices::placeControl(WindowHandle control, Rect rect, int placeFlags) {
    windowThread_.run([this, control, rect, placeFlags] {
        const auto found = handles_.find(control);
        if (found == handles_.end()) {
            return;
        }
        QWidget* widget = found->second.widget;
        QRect target(rect.left, rect.top, std::max(rect.width(), 0), std::max(rect.height(), 0));
        const bool isWindow = widget == found->second.window;
        if (isWindow) {
            target = target.marginsRemoved(kNominalFrame);
        }
        if ((placeFlags & kPlaceNoSize) != 0) {
            target.setSize(widget->size());
        }
        if ((placeFlags & kPlaceNoMove) != 0) {
            target.moveTopLeft(isWindow ? widget->geometry().topLeft() : widget->pos());
        }
        widget->setGeometry(target);
        if (!isWindow) {
            widget->lower();
        }
    });
}

// System

void QtWindowServices::sleep(int milliseconds) {
    sleepMilliseconds(milliseconds);
}

Text QtWindowServices::programDirectory() {
    const std::lock_guard lock(systemMutex_);
    return programDirectory_.empty() ? utf8ToGbk(executableDirectory().string())
                                     : programDirectory_;
}

bool QtWindowServices::runProgram(const std::vector<Text>& arguments, bool wait, int /*show*/) {
    const ProgramStart start = startProgram(arguments, wait);  // it shows its own windows
    if (start.running != 0) {
        const std::lock_guard lock(systemMutex_);
        runningPrograms_.push_back(start.running);
    }
    return start.created;
}

std::vector<int> QtWindowServices::runningPrograms() const {
    const std::lock_guard lock(systemMutex_);
    return runningPrograms_;
}

bool QtWindowServices::writeFile(const Text& path, std::span<const Bytes> blocks) {
    return writeBlocks(path, blocks);
}

}  // namespace tamrivo
