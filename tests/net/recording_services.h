#pragma once

#include <condition_variable>
#include <mutex>
#include <vector>

#include "ui/window_services.h"

namespace tamrivo::testing {

// Window services that remember what the update window was told, from any thread. Files
// are really written; everything else only recorded.
class RecordingServices : public WindowServices {
public:
    Text directory;
    int progressBarMaximum = 100;
    bool failWrites = false;

    std::vector<Text> log() const;
    // Everything appended to the log, as the edit box shows it.
    Text logText() const;
    std::vector<Text> captions() const;
    std::vector<int> positions() const;
    std::vector<bool> busyStates() const;
    std::vector<std::vector<Text>> startedPrograms() const;
    std::vector<WindowHandle> destroyedWindows() const;
    // Waits (bounded) until the log holds the line the given number of times.
    bool waitForLogLine(const Text& line, int times = 1);

    void destroyWindow(WindowHandle window) override;
    void setText(WindowHandle window, const Text& control, const Text& text) override;
    int progressMaximum(WindowHandle window, const Text& progressBar) override;
    void setProgressPosition(WindowHandle window, const Text& progressBar, int position) override;
    void setProgressBusy(WindowHandle window, const Text& progressBar, bool busy) override;
    void editAppend(WindowHandle window, const Text& edit, const Text& text) override;
    Text programDirectory() override { return directory; }
    bool runProgram(const std::vector<Text>& arguments, bool wait, int show) override;
    bool writeFile(const Text& path, std::span<const Bytes> blocks) override;

    // Not used by the update window.
    WindowHandle loadWindow(WindowKind, std::unique_ptr<WindowController>, WindowHandle) override {
        return 0;
    }
    WindowHandle windowHandle(WindowHandle, const Text&) override { return 0; }
    int messageBox(const Text&, int, const Text&, WindowHandle) override { return kAnswerOk; }
    void doEvents() override {}
    Text text(WindowHandle, const Text&) override { return {}; }
    void setVisible(WindowHandle, const Text&, bool) override {}
    void setDisabled(WindowHandle, const Text&, bool) override {}
    void setTimerInterval(WindowHandle, const Text&, int) override {}
    DateTime dateTime(WindowHandle, const Text&) override { return {}; }
    void setDateTime(WindowHandle, const Text&, DateTime) override {}
    int selectedIndex(WindowHandle, const Text&) override { return -1; }
    void setSelectedIndex(WindowHandle, const Text&, int) override {}
    int comboAdd(WindowHandle, const Text&, const Text&, int) override { return -1; }
    void comboClear(WindowHandle, const Text&) override {}
    int comboNumber(WindowHandle, const Text&, int) override { return 0; }
    int listInsertRow(WindowHandle, const Text&, int, const Text&, int, int) override { return -1; }
    Text listCellText(WindowHandle, const Text&, int, int) override { return {}; }
    int listRowNumber(WindowHandle, const Text&, int) override { return 0; }
    void listClear(WindowHandle, const Text&) override {}
    void statusText(WindowHandle, const Text&, int, const Text&) override {}
    Rect frameRect(WindowHandle) override { return {}; }
    Point screenToClient(WindowHandle, Point screen) override { return screen; }
    void placeControl(WindowHandle, Rect, int) override {}
    void sleep(int) override {}

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Text> log_;
    std::vector<Text> captions_;
    std::vector<int> positions_;
    std::vector<bool> busyStates_;
    std::vector<std::vector<Text>> startedPrograms_;
    std::vector<WindowHandle> destroyedWindows_;
};

}  // namespace tamrivo::testing
