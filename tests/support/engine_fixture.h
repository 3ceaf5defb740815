#pragma once

#include <gtest/gtest.h>

#include <QApplication>

#include <memory>

#include "engine/qt_window_services.h"
#include "tests/support/engine_harness.h"
#include "tests/support/message_box_responder.h"
#include "tests/support/recording_controller.h"

namespace tamrivo::testing {

// A fresh engine per test, its message boxes answered by the responder, and a log of the
// events of the windows the test opens.
class EngineFixture : public ::testing::Test {
protected:
    // Opens a window whose controller records into log and reacts with react.
    WindowHandle open(WindowKind kind, RecordingController::Reaction react = {},
                      WindowHandle parent = 0) {
        return services.loadWindow(
            kind, std::make_unique<RecordingController>(log, std::move(react)), parent);
    }

    QApplication& app = application();
    QtWindowServices services;
    MessageBoxResponder responder{services};
    std::shared_ptr<EventLog> log = std::make_shared<EventLog>();
};

}  // namespace tamrivo::testing
