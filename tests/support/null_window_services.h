#pragma once

#include "ui/window_services.h"

namespace tamrivo::testing {

// Window services without windows: every call does nothing and reads as empty. Test fakes
// derive from it and override only the calls they watch.
class NullWindowServices : public WindowServices {
public:
    WindowHandle loadWindow(WindowKind, std::unique_ptr<WindowController>, WindowHandle) override {
        return 0;
    }
    void destroyWindow(WindowHandle) override {}
    WindowHandle windowHandle(WindowHandle, const Text&) override { return 0; }
    int messageBox(const Text&, int, const Text&, WindowHandle) override { return kAnswerOk; }
    void doEvents() override {}

    Text text(WindowHandle, const Text&) override { return {}; }
    void setText(WindowHandle, const Text&, const Text&) override {}
    void setVisible(WindowHandle, const Text&, bool) override {}
    void setDisabled(WindowHandle, const Text&, bool) override {}
    void setTimerInterval(WindowHandle, const Text&, int) override {}
    DateTime dateTime(WindowHandle, const Text&) override { return {}; }
    void setDateTime(WindowHandle, const Text&, DateTime) override {}
    int selectedIndex(WindowHandle, const Text&) override { return -1; }
    void setSelectedIndex(WindowHandle, const Text&, int) override {}
    int progressMaximum(WindowHandle, const Text&) override { return 0; }
    void setProgressPosition(WindowHandle, const Text&, int) override {}
    void setProgressBusy(WindowHandle, const Text&, bool) override {}
    bool isChecked(WindowHandle, const Text&) override { return false; }
    void setChecked(WindowHandle, const Text&, bool) override {}

    int comboAdd(WindowHandle, const Text&, const Text&, int) override { return -1; }
    void comboClear(WindowHandle, const Text&) override {}
    int comboNumber(WindowHandle, const Text&, int) override { return -1; }
    void editAppend(WindowHandle, const Text&, const Text&) override {}
    int listInsertRow(WindowHandle, const Text&, int, const Text&, int, int) override { return -1; }
    Text listCellText(WindowHandle, const Text&, int, int) override { return {}; }
    int listRowNumber(WindowHandle, const Text&, int) override { return 0; }
    void listClear(WindowHandle, const Text&) override {}
    void statusText(WindowHandle, const Text&, int, const Text&) override {}
    void tableSetRows(WindowHandle, const Text&, std::vector<TableRow>) override {}
    void calendarSetPage(WindowHandle, const Text&, CalendarPage) override {}
    void chartSetData(WindowHandle, const Text&, ChartData) override {}
    ChartData chartData(WindowHandle, const Text&) override { return {}; }
    bool saveChartImage(WindowHandle, const Text&, const Text&) override { return false; }

    void bringToFront(WindowHandle) override {}
    Text askSaveFileName(WindowHandle, const Text&, const Text&, const Text&) override {
        return {};
    }
    PrintOutcome printForm(WindowHandle, const PrintedForm&) override {
        return PrintOutcome::Cancelled;
    }
    bool saveFormAsPdf(const PrintedForm&, const Text&) override { return false; }
    Text askFolder(WindowHandle, const Text&) override { return {}; }
    PrintOutcome printReport(WindowHandle, const PrintedReport&) override {
        return PrintOutcome::Cancelled;
    }

    Rect frameRect(WindowHandle) override { return {}; }
    Point screenToClient(WindowHandle, Point screen) override { return screen; }
    void placeControl(WindowHandle, Rect, int) override {}

    void sleep(int) override {}
    Text programDirectory() override { return {}; }
    bool runProgram(const std::vector<Text>&, bool, int) override { return false; }
    bool writeFile(const Text&, std::span<const Bytes>) override { return false; }
};

}  // namespace tamrivo::testing
