#include "app/update_window.h"

#include "app/screen.h"
#include "app/update_download_view.h"

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
            state.updateCheckView.checkInUpdateWindow(state.updateChecker, window());
        } else if (event.handler == Handler::StartUpdateDownload &&
                   state.updateCheckView.delivery() == UpdateDelivery::Download) {
            startUpdateDownload(services(), state.downloader, {window(), state.mainWindow},
                                state.updateCheckView.updatePackage(), state.updatePublicKey);
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
