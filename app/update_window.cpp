#include "app/update_window.h"

#include "app/screen.h"
#include "net/update_download.h"

namespace tamrivo {
namespace {

class UpdateWindow final : public Screen {
public:
    using Screen::Screen;
    // The window is gone: its check must not outlive it.
    ~UpdateWindow() override { app().state.updateChecker.stopChecks(window()); }

private:
    bool onEvent(const WindowEvent& event) override {
        ProgramState& state = app().state;
        if (event.handler == Handler::UpdateWindowCreated) {
            state.updateChecker.checkInUpdateWindow(window());
        } else if (event.handler == Handler::StartUpdateDownload &&
                   state.updateChecker.delivery() == UpdateDelivery::Download) {
            startUpdateDownload(services(), state.downloader, {window(), state.mainWindow},
                                state.updateChecker.updatePackage(), state.updatePublicKey);
        }
        return false;
    }
};

}  // namespace

void openUpdateWindow(App& app) {
    app.services.loadWindow(WindowKind::Update, std::make_unique<UpdateWindow>(app),
                            app.state.mainWindow);
}

}  // namespace tamrivo
