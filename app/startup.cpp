#include "app/startup.h"

#include "app/login_window.h"
#include "app/schema.h"
#include "app/screen.h"

namespace tamrivo {

bool openDatabase(App& app) {
    const Text path = app.services.programDirectory() + "/" + schema::kDatabaseFolder + "/" +
                      schema::kDatabaseFile;
    return app.state.database.open(path, schema::kDatabaseKey);
}

bool startProgram(App& app) {
    app.state.runningVersion = kRunningVersion;
    if (!openDatabase(app)) {
        app.services.messageBox("打开数据库失败\r\n" + app.state.database.errorMessage(),
                                kMessageOk, kMessageTitle);
        return false;
    }
    openLoginWindow(app);
    return true;
}

}  // namespace tamrivo
