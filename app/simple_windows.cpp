#include "app/simple_windows.h"

namespace tamrivo {
namespace {

class StaticWindow final : public WindowController {
public:
    bool handleEvent(const WindowEvent&) override { return false; }
};

}  // namespace

void openAboutWindow(App& app) {
    app.services.loadWindow(WindowKind::About, std::make_unique<StaticWindow>(),
                            app.state.mainWindow);
}

}  // namespace tamrivo
