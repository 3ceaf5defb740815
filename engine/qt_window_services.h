#pragma once

#include <QPointer>

#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "engine/artwork.h"
#include "engine/chinese_texts.h"
#include "engine/engine_window.h"
#include "engine/message_box.h"
#include "engine/report_printer.h"
#include "engine/window_thread.h"
#include "ui/window_services.h"

class QEventLoop;
class QPrinter;

namespace tamrivo {

struct SaveDialogRequest {
    Text title;
    Text suggestedName;
    Text filter;
    WindowHandle owner = 0;
};

// Stand in for the person at the system's dialogs, in tests: the path chosen in a save dialog
// (empty: cancelled), and the printer set up as the print dialog would (false: cancelled).
using SaveDialogPresenter = std::function<Text(const SaveDialogRequest&)>;
using PrintDialogPresenter = std::function<bool(QPrinter&)>;
// The folder chosen in a folder dialog with this title (empty: cancelled).
using FolderDialogPresenter = std::function<Text(const Text& title)>;

// The window engine over Qt Widgets. Construct it on the thread that made the
// QApplication, after it; load the first window, then run() the message loop, which
// returns when the last window is gone.
//
// Every service may be called from any thread: the call is carried to the window thread,
// waiting there for a result where the caller needs one, and runs directly when it is
// made on the window thread.
class QtWindowServices final : public WindowServices {
public:
    QtWindowServices();
    ~QtWindowServices() override;

    // Runs the message loop until no window is left; returns at once when none is open.
    // Afterwards calls from other threads no longer wait for the window thread.
    int run();

    // For tests and tools: where programDirectory points, the presenter of message boxes
    // (empty restores the real boxes), the widget behind a window or control, and the
    // processes runProgram left running, oldest first (not reaped, so their ids stay theirs).
    void setProgramDirectory(Text directory);
    void setMessageBoxPresenter(MessageBoxPresenter presenter);
    void setSaveDialogPresenter(SaveDialogPresenter presenter);
    void setPrintDialogPresenter(PrintDialogPresenter presenter);
    void setFolderDialogPresenter(FolderDialogPresenter presenter);
    QWidget* widget(WindowHandle window, const Text& control = {});
    std::vector<int> runningPrograms() const;
    // The open windows of a kind, oldest first (window thread only).
    std::vector<WindowHandle> openWindows(WindowKind kind) const;
    // Builds a window of the kind off the screen, paints it once and throws it away, running
    // none of its handlers: Qt loads its fonts, polishes its style and fills its caches, so
    // the first real window of the kind appears at once. For start-up, while it waits.
    void prepareWindow(WindowKind kind);

    // Windows
    WindowHandle loadWindow(WindowKind kind, std::unique_ptr<WindowController> controller,
                            WindowHandle parent = 0) override;
    void destroyWindow(WindowHandle window) override;
    WindowHandle windowHandle(WindowHandle window, const Text& control = {}) override;
    int messageBox(const Text& content, int flags, const Text& title = kDefaultMessageTitle,
                   WindowHandle owner = 0) override;
    void doEvents() override;

    // Properties
    Text text(WindowHandle window, const Text& control) override;
    void setText(WindowHandle window, const Text& control, const Text& text) override;
    void setVisible(WindowHandle window, const Text& control, bool visible) override;
    void setDisabled(WindowHandle window, const Text& control, bool disabled) override;
    void setTimerInterval(WindowHandle window, const Text& timer, int milliseconds) override;
    DateTime dateTime(WindowHandle window, const Text& datePicker) override;
    void setDateTime(WindowHandle window, const Text& datePicker, DateTime value) override;
    int selectedIndex(WindowHandle window, const Text& control) override;
    void setSelectedIndex(WindowHandle window, const Text& control, int index) override;
    int progressMaximum(WindowHandle window, const Text& progressBar) override;
    void setProgressPosition(WindowHandle window, const Text& progressBar, int position) override;
    void setProgressBusy(WindowHandle window, const Text& progressBar, bool busy) override;
    bool isChecked(WindowHandle window, const Text& checkBox) override;
    void setChecked(WindowHandle window, const Text& checkBox, bool checked) override;

    // Control operations
    int comboAdd(WindowHandle window, const Text& combo, const Text& item, int number = 0) override;
    void comboClear(WindowHandle window, const Text& combo) override;
    int comboNumber(WindowHandle window, const Text& combo, int index) override;
    void editAppend(WindowHandle window, const Text& edit, const Text& text) override;
    int listInsertRow(WindowHandle window, const Text& list, int position, const Text& title,
                      int image, int number) override;
    Text listCellText(WindowHandle window, const Text& list, int row, int column = 0) override;
    int listRowNumber(WindowHandle window, const Text& list, int row) override;
    void listClear(WindowHandle window, const Text& list) override;
    void statusText(WindowHandle window, const Text& statusBar, int part,
                    const Text& text) override;
    void tableSetRows(WindowHandle window, const Text& table, std::vector<TableRow> rows) override;
    void calendarSetPage(WindowHandle window, const Text& calendar, CalendarPage page) override;
    void chartSetData(WindowHandle window, const Text& chart, ChartData data) override;
    ChartData chartData(WindowHandle window, const Text& chart) override;
    bool saveChartImage(WindowHandle window, const Text& chart, const Text& path) override;

    // Dialogs and printing
    void bringToFront(WindowHandle window) override;
    Text askSaveFileName(WindowHandle owner, const Text& title, const Text& suggestedName,
                         const Text& filter) override;
    PrintOutcome printForm(WindowHandle owner, const PrintedForm& form) override;
    bool saveFormAsPdf(const PrintedForm& form, const Text& path) override;
    Text askFolder(WindowHandle owner, const Text& title) override;
    PrintOutcome printReport(WindowHandle owner, const PrintedReport& report) override;

    // Geometry
    Rect frameRect(WindowHandle handle) override;
    Point screenToClient(WindowHandle window, Point screen) override;
    void placeControl(WindowHandle control, Rect rect, int placeFlags) override;

    // System
    void sleep(int milliseconds) override;
    Text programDirectory() override;
    bool runProgram(const std::vector<Text>& arguments, bool wait = false, int show = 2) override;
    bool writeFile(const Text& path, std::span<const Bytes> blocks) override;

private:
    struct HandleTarget {
        EngineWindow* window;
        QWidget* widget;
    };

    EngineWindow* findWindow(WindowHandle window) const;
    const Control* findControl(WindowHandle window, const Text& control) const;
    template <class Widget>
    Widget* find(WindowHandle window, const Text& control) const;
    // For calls that take several kinds of control: one lookup, so one report of a bad name.
    QWidget* controlWidget(WindowHandle window, const Text& control) const;
    QWidget* widgetOf(WindowHandle handle) const;

    WindowHandle openWindow(WindowKind kind, std::unique_ptr<WindowController> controller,
                            WindowHandle parent);
    void closeWindow(WindowHandle window);
    void forget(EngineWindow& window);
    int presentMessageBox(const MessageBoxRequest& request);
    ChartPainter chartPainter(WindowHandle owner) const;
    // The print dialog (or its stand-in) over the owner; false when cancelled.
    bool askPrinter(QPrinter& printer, WindowHandle owner);

    WindowThread windowThread_;
    ChineseTexts chineseTexts_;
    Artwork artwork_;
    WindowHandle lastHandle_ = 0;
    std::unordered_map<WindowHandle, EngineWindow*> windows_;
    std::unordered_map<WindowHandle, HandleTarget> handles_;  // windows and controls
    std::vector<QPointer<EngineWindow>> made_;
    QEventLoop* loop_ = nullptr;
    MessageBoxPresenter presenter_;
    SaveDialogPresenter saveDialogPresenter_;
    PrintDialogPresenter printDialogPresenter_;
    FolderDialogPresenter folderDialogPresenter_;

    mutable std::mutex systemMutex_;
    Text programDirectory_;
    std::vector<int> runningPrograms_;
};

template <class Widget>
Widget* QtWindowServices::find(WindowHandle window, const Text& control) const {
    return dynamic_cast<Widget*>(controlWidget(window, control));
}

}  // namespace tamrivo
