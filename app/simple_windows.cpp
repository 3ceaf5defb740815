#include "app/simple_windows.h"

namespace tamrivo {
namespace {

class StaticWindow final : public WindowController {
public:
    bool handleEvent(const WindowEvent&) override { return false; }
};

void openStatic(App& app, WindowKind kind) {
    app.services.loadWindow(kind, std::make_unique<StaticWindow>(), app.state.mainWindow);
}

}  // namespace

void openStatisticsWindow(App& app) {
    openStatic(app, WindowKind::Statistics);
}

void openAboutWindow(App& app) {
    openStatic(app, WindowKind::About);
}

}  // namespace tamrivo
