#include <QApplication>

#include <future>

#include "app/program_state.h"
#include "app/startup.h"
#include "base/executable_directory.h"
#include "base/fatal_error.h"
#include "base/text_encoding.h"
#include "engine/qt_window_services.h"
#include "net/update_endpoint.h"
#include "net/update_public_key.h"

namespace {

// A fatal error raised before the window engine is up (the opening thread finding no SQLite
// library) waits for the engine, then is raised again, so that its box is shown.
class EarlyFatalErrors {
public:
    EarlyFatalErrors() {
        tamrivo::setFatalErrorHandler(
            [up = up_.get_future().share()](const tamrivo::Text& message) {
                up.wait();
                tamrivo::fatalError(message);
            });
    }
    void engineIsUp() { up_.set_value(); }

private:
    std::promise<void> up_;
};

}  // namespace

int main(int argc, char* argv[]) {
    // The key derivation runs while Qt starts; the login window waits for its outcome.
    EarlyFatalErrors earlyFatalErrors;
    const tamrivo::Text directory = tamrivo::utf8ToGbk(tamrivo::executableDirectory().string());
    tamrivo::finishInterruptedUpdate(directory);
    tamrivo::DatabaseOpening opening(directory);
    QApplication application(argc, argv);
    tamrivo::QtWindowServices services;
    earlyFatalErrors.engineIsUp();
    services.setProgramDirectory(directory);
    tamrivo::ProgramState state(services, tamrivo::updateEndpoint(), tamrivo::updatePublicKey(),
                                tamrivo::updateDelivery());
    tamrivo::App app{services, state};
    services.prepareWindow(tamrivo::WindowKind::Login);
    if (!tamrivo::startProgram(app, opening)) {
        return tamrivo::kOpenFailedExitStatus;
    }
    return services.run();
}
