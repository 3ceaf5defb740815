#pragma once

#include <QMargins>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

#include "ui/window_definition.h"

class QTimer;

namespace tamrivo {

// Marks the widgets the engine made for controls, apart from the widgets Qt makes inside them.
inline constexpr char kControlProperty[] = "tamrivoControl";

// Windows are sized by their outer rectangle. The engine reckons with this fixed frame
// around the client area, so outer rectangles do not hang on the desktop's decorations.
inline constexpr QMargins kNominalFrame{3, 25, 3, 3};

// One control of an open window. Timers have no widget and no handle.
struct Control {
    const ControlDefinition* definition = nullptr;
    WindowHandle handle = 0;
    QWidget* widget = nullptr;
    QTimer* timer = nullptr;
};

// An open window: the top-level widget, its controls by name, and the controller that
// receives its events.
class EngineWindow : public QWidget {
public:
    EngineWindow(WindowHandle handle, const WindowDefinition& definition,
                 std::unique_ptr<WindowController> controller, QWidget* owner);
    ~EngineWindow() override;

    WindowHandle handle() const { return handle_; }
    const WindowDefinition& definition() const { return definition_; }

    void addControl(Control control);
    const Control* control(const Text& name) const;
    const std::vector<Control>& controls() const { return controls_; }
    // Toolbars keep to the top of the window and status bars to its bottom.
    void dock(QWidget* bar, bool top);

    // Hands an event to the controller when it is bound; true when the controller consumed
    // it. A window that is closing raises nothing.
    bool raise(EventKind kind, Handler handler, const Text& control = {}, int argument = 0);
    void raiseCreated();

    // Called when the person closes the window from its frame.
    void setCloseRequest(std::function<void()> request) { closeRequest_ = std::move(request); }
    // Ends the window: the controller goes at once, or, while one of its handlers runs (a
    // message box inside it may let other work through), as soon as that handler returns.
    void retire();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Enter and Esc that no control took.
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct DockedBar {
        QWidget* bar;
        bool top;
    };

    void layOutBars();
    void finishRetiring();

    WindowHandle handle_;
    const WindowDefinition& definition_;
    std::unique_ptr<WindowController> controller_;
    std::vector<Control> controls_;  // in definition order; a window has a handful
    std::vector<DockedBar> bars_;
    std::function<void()> closeRequest_;
    int handlersRunning_ = 0;
    bool created_ = false;
    bool retired_ = false;
};

}  // namespace tamrivo
