#include <QApplication>

#include "app/program_state.h"
#include "app/startup.h"
#include "engine/qt_window_services.h"
#include "net/update_endpoint.h"
#include "ui/executable_directory.h"
#include "ui/text_encoding.h"

int main(int argc, char* argv[]) {
    // The key derivation runs while Qt starts; the login window waits for its outcome.
    const tamrivo::Text directory = tamrivo::utf8ToGbk(tamrivo::executableDirectory().string());
    tamrivo::DatabaseOpening opening = tamrivo::beginOpeningDatabase(directory);
    QApplication application(argc, argv);
    tamrivo::QtWindowServices services;
    services.setProgramDirectory(directory);
    tamrivo::ProgramState state(services, tamrivo::updateEndpoint());
    tamrivo::App app{services, state};
    services.prepareWindow(tamrivo::WindowKind::Login);
    if (!tamrivo::startProgram(app, opening)) {
        return tamrivo::kOpenFailedExitStatus;
    }
    return services.run();
}
