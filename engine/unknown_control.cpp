#include "engine/unknown_control.h"

#include <QtGlobal>

#include <mutex>
#include <string>

#include "base/text_encoding.h"

namespace tamrivo {
namespace {

std::mutex reporterMutex;

UnknownControlReporter& installedReporter() {
    static UnknownControlReporter reporter;
    return reporter;
}

}  // namespace

void setUnknownControlReporter(UnknownControlReporter reporter) {
    const std::lock_guard lock(reporterMutex);
    installedReporter() = std::move(reporter);
}

void reportUnknownControl(WindowHandle window, const Text& control) {
    const std::string report =
        "window " + std::to_string(window) + " has no control \"" + gbkToUtf8(control) + "\"";
    UnknownControlReporter reporter;
    {
        const std::lock_guard lock(reporterMutex);
        reporter = installedReporter();
    }
    if (reporter) {
        reporter(report);
    } else {
        qWarning("%s", report.c_str());
    }
}

}  // namespace tamrivo
