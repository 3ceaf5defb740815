#include "app/startup.h"

#include "app/login_window.h"
#include "app/schema.h"
#include "app/screen.h"

namespace tamrivo {

namespace {

bool showStart(App& app, bool opened) {
    app.state.runningVersion = kRunningVersion;
    if (!opened) {
        app.services.messageBox("打开数据库失败\r\n" + app.state.database.errorMessage(),
                                kMessageOk, kMessageTitle);
        return false;
    }
    openLoginWindow(app);
    return true;
}

}  // namespace

Text databasePath(const Text& programDirectory) {
    return programDirectory + "/" + schema::kDatabaseFolder + "/" + schema::kDatabaseFile;
}

bool openDatabase(App& app) {
    return app.state.database.open(databasePath(app.services.programDirectory()),
                                   schema::kDatabaseKey);
}

DatabaseOpening beginOpeningDatabase(const Text& programDirectory) {
    return DatabaseOpening(databasePath(programDirectory), schema::kDatabaseKey);
}

bool startProgram(App& app) {
    return showStart(app, openDatabase(app));
}

bool startProgram(App& app, DatabaseOpening& opening) {
    return showStart(app, opening.finish(app.state.database, [&app] { app.services.doEvents(); }));
}

}  // namespace tamrivo
