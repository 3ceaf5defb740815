#include <QApplication>

#include "app/program_state.h"
#include "app/startup.h"
#include "engine/qt_window_services.h"
#include "net/update_endpoint.h"
#include "net/update_public_key.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    tamrivo::QtWindowServices services;
    tamrivo::ProgramState state(services, tamrivo::updateEndpoint(), tamrivo::updatePublicKey());
    tamrivo::App app{services, state};
    if (!tamrivo::startProgram(app)) {
        return 0;
    }
    return services.run();
}
