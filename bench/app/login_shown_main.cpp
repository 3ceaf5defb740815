// The program's start-up up to the login window on the screen, then its way out: what
// main.cpp does, on the database in the directory given as the one argument, ending by
// itself once the login window has been painted.
#include <QApplication>

#include <cstdio>

#include "app/program_state.h"
#include "app/startup.h"
#include "base/text_encoding.h"
#include "bench/app/quit_when_shown.h"
#include "engine/qt_window_services.h"
#include "net/update_endpoint.h"
#include "net/update_public_key.h"

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s PROGRAM-DIRECTORY\n", argv[0]);
        return 2;
    }
    const tamrivo::Text directory = tamrivo::utf8ToGbk(argv[1]);
    tamrivo::DatabaseOpening opening(directory);
    QApplication application(argc, argv);
    tamrivo::QtWindowServices services;
    services.setProgramDirectory(directory);
    tamrivo::ProgramState state(services, tamrivo::updateEndpoint(), tamrivo::updatePublicKey());
    tamrivo::App app{services, state};
    services.prepareWindow(tamrivo::WindowKind::Login);
    if (!tamrivo::startProgram(app, opening)) {
        return 1;
    }
    const auto login = services.openWindows(tamrivo::WindowKind::Login);
    if (login.size() != 1) {
        return 1;
    }
    // Closing the only window ends the message loop, as when the person closes it.
    tamrivo::bench::quitWhenShown(*services.widget(login.front()),
                                  [&services, &login] { services.destroyWindow(login.front()); });
    return services.run();
}
