#pragma once

#include "app/program_state.h"
#include "ui/window_services.h"

namespace tamrivo {

inline constexpr char kErrorTitle[] = "ErrMsg";
inline constexpr char kMessageTitle[] = "Msg";
// Where a window takes a first and a last day.
inline constexpr char kEndBeforeStart[] = "结束日期早于开始日期,请重新选择";

// The application side of one open window: it learns its own handle from the first event
// and hands every event to the screen.
class Screen : public WindowController {
public:
    explicit Screen(App& app) : app_(app) {}

    bool handleEvent(const WindowEvent& event) final {
        window_ = event.window;
        return onEvent(event);
    }

protected:
    virtual bool onEvent(const WindowEvent& event) = 0;

    App& app() { return app_; }
    WindowServices& services() { return app_.services; }
    Database& database() { return app_.state.database; }
    WindowHandle window() const { return window_; }

    void close() { services().destroyWindow(window_); }
    void showMessage(const Text& text, const Text& title = kDefaultMessageTitle) {
        services().messageBox(text, kMessageOk, title);
    }
    // The database's last error, as every screen reports a failed write.
    void showDatabaseError() { showMessage(database().errorMessage(), kErrorTitle); }

private:
    App& app_;
    WindowHandle window_ = 0;
};

// A window opened from the toolbar to fill in and confirm: it is filled when created,
// saves on its confirm button and goes without saving on cancel.
class FormScreen : public Screen {
public:
    using Screen::Screen;

protected:
    virtual void onCreated() = 0;
    virtual void onConfirmed() = 0;
    // A button other than cancel: the confirm button, unless the window has more.
    virtual void onClicked(Handler /*handler*/) { onConfirmed(); }
    // What a box holds changed, for windows that follow it.
    virtual void onChanged(Handler /*handler*/) {}

private:
    bool onEvent(const WindowEvent& event) final {
        if (event.handler == Handler::CloseWindow) {
            close();
        } else if (event.kind == EventKind::Created) {
            onCreated();
        } else if (event.kind == EventKind::Clicked) {
            onClicked(event.handler);
        } else if (event.kind == EventKind::Changed) {
            onChanged(event.handler);
        }
        return false;
    }
};

}  // namespace tamrivo
