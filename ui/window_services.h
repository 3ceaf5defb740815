#pragma once

#include <memory>
#include <span>
#include <vector>

#include "base/value_types.h"

namespace tamrivo {

// A window or control of an open window, as the engine numbers them; 0 means none.
// A window opened twice gets two handles, and a handle is never reused while the
// program runs, so a stale handle simply names nothing.
using WindowHandle = int;

// The windows the program defines.
enum class WindowKind {
    Main,
    Login,
    Room,
    Lease,
    Checkout,
    Statistics,
    About,
    Password,
    Update,
    Search,
    LeaseRecord,
    Calendar,
    Booking,
    Landlord,
    CalendarSync,
    Recovery,
    Protection,
    GuestRegister,
    RegisterLog,
};
inline constexpr WindowKind kLastWindowKind = WindowKind::RegisterLog;

// What raised an event.
enum class EventKind {
    Created,             // the window and its controls exist
    Resized,             // the window's size changed
    Clicked,             // a button
    KeyPressed,          // an edit box; argument = key code (13 for Enter)
    Tick,                // a timer
    ToolbarClicked,      // argument = item index, separators counted
    CurrentItemChanged,  // a list view's or table's selection; argument = the selected row (-1
                         // none)
    Changed,             // what an edit box, combo box, check box or date picker holds
    RowActivated,        // a table's row double-clicked or Enter pressed on it; argument = row
};

// The application routine a window definition binds an event to.
enum class Handler {
    None,
    CloseWindow,
    // main window
    MainWindowCreated,
    RelayoutMainWindow,
    ShowClock,
    DispatchToolbar,
    ShowLeaseDetails,
    // login and password windows
    LoginWindowCreated,
    ShowLoginClock,
    Login,
    FillUserList,
    ChangePassword,
    OpenRecoveryWindow,
    ResetPasswordWithCode,
    OpenProtectionWindow,
    // protection window
    ProtectionWindowCreated,
    ProtectRecords,
    UnprotectRecords,
    PrintRecoveryCode,
    SaveRecoveryCodePdf,
    ProtectOldBackups,
    DeleteOldBackups,
    // room, lease and check-out windows
    RoomWindowCreated,
    SaveRoom,
    LeaseWindowCreated,
    SaveLease,
    FillCheckoutWindow,
    SettleLease,
    ShowCheckoutCharges,
    ShowReceipt,
    // update window
    UpdateWindowCreated,
    StartUpdateDownload,
    // search and lease record windows
    SearchWindowCreated,
    RelayoutSearchWindow,
    RunSearch,
    ShowSearchSelection,
    OpenFoundLease,
    ExportFoundLeases,
    LeaseRecordCreated,
    RelayoutLeaseRecordWindow,
    PrintReceipt,
    SaveReceiptPdf,
    OpenLandlordWindow,
    LandlordWindowCreated,
    SaveLandlord,
    // room calendar and booking windows
    CalendarWindowCreated,
    RelayoutCalendarWindow,
    MoveCalendar,
    ShowBookingSelection,
    BookRoom,
    EditBooking,
    CancelBooking,
    ArriveBooking,
    BookingWindowCreated,
    SaveBooking,
    SyncCalendars,
    OpenCalendarSync,
    // calendar sync window
    CalendarSyncCreated,
    ShowFeedSelection,
    AddFeed,
    RemoveFeed,
    ChooseExportFolder,
    SaveSyncSettings,
    // statistics window
    StatisticsWindowCreated,
    RelayoutStatisticsWindow,
    ShowStatisticsPeriod,
    ExportStatistics,
    PrintStatistics,
    // guest register window
    OpenGuestRegister,
    GuestRegisterCreated,
    ShowGuestSelection,
    LookUpGuestDocument,
    ReadIdCard,
    PollCardRead,
    AddGuest,
    ChangeGuest,
    RemoveGuest,
    ViewGuestNumber,
    SaveGuests,
    // register export and access log window
    OpenRegisterLog,
    RegisterLogCreated,
    ExportRegister,
    PrintRegister,
    SaveRetention,
};

struct WindowEvent {
    Handler handler = Handler::None;
    EventKind kind = EventKind::Created;
    WindowHandle window = 0;
    Text control;  // name of the control that raised it; empty for the window itself
    int argument = 0;
};

// The application side of one open window: it receives the window's bound events and
// keeps whatever the window needs between them. The engine owns it from loadWindow until
// the window is gone.
class WindowController {
public:
    virtual ~WindowController() = default;
    // True when the event is consumed (a key that must not reach its control).
    virtual bool handleEvent(const WindowEvent& event) = 0;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// Flags of placeControl, as SetWindowPos takes them.
enum PlaceFlags : int { kPlaceMoveAndSize = 0, kPlaceNoSize = 1, kPlaceNoMove = 2 };

// The three geometry calls the layout keeper needs, apart so it can be exercised alone.
class WindowGeometry {
public:
    virtual ~WindowGeometry() = default;
    virtual Rect frameRect(WindowHandle handle) = 0;  // outer rectangle, screen coordinates
    virtual Point screenToClient(WindowHandle window, Point screen) = 0;
    // Moves and sizes a control within its container (a window: its outer rectangle on the
    // screen) and puts it below its siblings.
    virtual void placeControl(WindowHandle control, Rect rect, int placeFlags) = 0;
};

// Message box flags and answers (the pressed button minus 1).
enum MessageBoxFlags : int { kMessageOk = 0, kMessageYesNo = 4 };
enum MessageBoxAnswer : int { kAnswerOk = 0, kAnswerCancel = 1, kAnswerYes = 5, kAnswerNo = 6 };

inline constexpr char kDefaultMessageTitle[] = "信息：";

// One row of a table: its cells, left to right, and a number the program keeps with it.
struct TableRow {
    int number = 0;
    std::vector<Text> cells;
};

// What a bar of the room calendar stands for; each kind has its own colour. Overstay is a
// guest still in after the planned departure; Outside a booking platform's guest, Closed the
// nights a platform closed, Conflict a platform's guest on nights somebody else holds.
enum class CalendarBarKind { Let, Settled, Booked, Cancelled, Overstay, Outside, Closed, Conflict };

// A stay drawn on the room calendar: its row, the first and last day columns it covers
// (already cut to the page), and the guest's name on it. Bars that share a day of a row lie
// in lanes, one above the other, so none hides another: `lane` of `lanes` in its row.
struct CalendarBar {
    int row = 0;
    int firstColumn = 0;
    int lastColumn = 0;
    CalendarBarKind kind = CalendarBarKind::Booked;
    Text label;
    int lane = 0;
    int lanes = 1;
    friend bool operator==(const CalendarBar&, const CalendarBar&) = default;
};

// One page of the room calendar: the room of each row, the title of each day column, the
// column of today (-1 when off the page) and the bars.
struct CalendarPage {
    std::vector<Text> rooms;
    std::vector<Text> days;
    int todayColumn = -1;
    std::vector<CalendarBar> bars;
};

// A page for the printer: a title over lines of a label and its value, each line whole.
struct PrintedForm {
    struct Line {
        Text label;
        Text value;
    };
    Text title;
    std::vector<Line> lines;
};

// What a chart control shows: bars for each category, one bar of every series beside the
// others. A series on the second axis has a scale of its own, drawn on the far side.
struct ChartSeries {
    Text name;
    std::vector<double> values;  // one per category
    int axis = 0;                // 0 or 1
    friend bool operator==(const ChartSeries&, const ChartSeries&) = default;
};
struct ChartData {
    std::vector<Text> categories;
    std::vector<ChartSeries> series;
    bool horizontal = false;  // bars lying down, the first category on top
    friend bool operator==(const ChartData&, const ChartData&) = default;
};

// A report on one page: a title, then its parts from the top, each a table (its first row
// the head) or a chart of the owner window, named as in its definition.
struct PrintedReport {
    using Table = std::vector<std::vector<Text>>;
    struct Part {
        Table table;
        Text chart;  // when the table is empty
    };
    Text title;
    std::vector<Part> parts;
};

// How printing ended.
enum class PrintOutcome { Printed, Cancelled, Failed };

// Everything the application asks of the window engine and the system. Controls are named
// by their window's handle and their name in the window definition; an empty control name
// means the window itself. Calls on a window or control that does not exist do nothing and
// read as empty, 0 or -1; a name the open window's definition lacks is moreover a fault of the
// program, which the engine reports.
//
// Every call may come from any thread: the update check and the download report from
// their own threads, and the download hands over to the updater (writeFile, runProgram,
// destroyWindow) from its worker. The engine carries each call to the window thread.
class WindowServices : public WindowGeometry {
public:
    // Windows
    virtual WindowHandle loadWindow(WindowKind kind, std::unique_ptr<WindowController> controller,
                                    WindowHandle parent = 0) = 0;
    virtual void destroyWindow(WindowHandle window) = 0;
    virtual WindowHandle windowHandle(WindowHandle window, const Text& control = {}) = 0;
    virtual int messageBox(const Text& content, int flags, const Text& title = kDefaultMessageTitle,
                           WindowHandle owner = 0) = 0;
    virtual void doEvents() = 0;

    // Properties
    virtual Text text(WindowHandle window, const Text& control) = 0;
    virtual void setText(WindowHandle window, const Text& control, const Text& text) = 0;
    virtual void setVisible(WindowHandle window, const Text& control, bool visible) = 0;
    virtual void setDisabled(WindowHandle window, const Text& control, bool disabled) = 0;
    virtual void setTimerInterval(WindowHandle window, const Text& timer, int milliseconds) = 0;
    virtual DateTime dateTime(WindowHandle window, const Text& datePicker) = 0;
    virtual void setDateTime(WindowHandle window, const Text& datePicker, DateTime value) = 0;
    virtual int selectedIndex(WindowHandle window, const Text& control) = 0;
    virtual void setSelectedIndex(WindowHandle window, const Text& control, int index) = 0;
    virtual int progressMaximum(WindowHandle window, const Text& progressBar) = 0;
    virtual void setProgressPosition(WindowHandle window, const Text& progressBar,
                                     int position) = 0;
    // A busy bar moves without a position, for work whose size is unknown.
    virtual void setProgressBusy(WindowHandle window, const Text& progressBar, bool busy) = 0;
    virtual bool isChecked(WindowHandle window, const Text& checkBox) = 0;
    virtual void setChecked(WindowHandle window, const Text& checkBox, bool checked) = 0;

    // Control operations
    virtual int comboAdd(WindowHandle window, const Text& combo, const Text& item,
                         int number = 0) = 0;
    virtual void comboClear(WindowHandle window, const Text& combo) = 0;
    virtual int comboNumber(WindowHandle window, const Text& combo, int index) = 0;
    virtual void editAppend(WindowHandle window, const Text& edit, const Text& text) = 0;
    virtual int listInsertRow(WindowHandle window, const Text& list, int position,
                              const Text& title, int image, int number) = 0;
    virtual Text listCellText(WindowHandle window, const Text& list, int row, int column = 0) = 0;
    virtual int listRowNumber(WindowHandle window, const Text& list, int row) = 0;
    virtual void listClear(WindowHandle window, const Text& list) = 0;
    virtual void statusText(WindowHandle window, const Text& statusBar, int part,
                            const Text& text) = 0;
    // Replaces every row of a table at once, in the order given, and drops its sorting and
    // selection. The list operations above (selectedIndex, listRowNumber, listCellText,
    // listClear) also work on tables, by the row as it is shown.
    virtual void tableSetRows(WindowHandle window, const Text& table,
                              std::vector<TableRow> rows) = 0;
    // Shows a new page on a room calendar.
    virtual void calendarSetPage(WindowHandle window, const Text& calendar, CalendarPage page) = 0;

    // Replaces what a chart shows, and reads it back.
    virtual void chartSetData(WindowHandle window, const Text& chart, ChartData data) = 0;
    virtual ChartData chartData(WindowHandle window, const Text& chart) = 0;
    // The chart as it is drawn now, as a PNG file; false when it cannot be written.
    virtual bool saveChartImage(WindowHandle window, const Text& chart, const Text& path) = 0;

    // Brings an open window to the front and gives it the focus.
    virtual void bringToFront(WindowHandle window) = 0;
    // Asks the person for a file to write, in a save dialog over the owner; the suggested name
    // and the filter ("CSV 文件 (*.csv)") come first. The chosen path (GBK), or the empty
    // text when the dialog was cancelled.
    virtual Text askSaveFileName(WindowHandle owner, const Text& title, const Text& suggestedName,
                                 const Text& filter) = 0;
    // Asks the person for a folder, in a dialog over the owner; its path (GBK), or the empty
    // text when the dialog was cancelled.
    virtual Text askFolder(WindowHandle owner, const Text& title) = 0;
    // The report on one A4 page, through the print dialog over the owner (which also offers
    // a PDF file); the charts are the owner's.
    virtual PrintOutcome printReport(WindowHandle owner, const PrintedReport& report) = 0;
    // The form on one A5 page, through the system's print dialog over the owner.
    virtual PrintOutcome printForm(WindowHandle owner, const PrintedForm& form) = 0;
    // The form on one A5 page of a PDF file; false when the file cannot be written.
    virtual bool saveFormAsPdf(const PrintedForm& form, const Text& path) = 0;

    // System
    virtual void sleep(int milliseconds) = 0;
    virtual Text programDirectory() = 0;  // GBK, no trailing separator
    // Starts a program with its arguments (first the program's path); with wait, until it
    // ends, otherwise for at most 1000 ms. True when the process was created.
    virtual bool runProgram(const std::vector<Text>& arguments, bool wait = false,
                            int show = 2) = 0;
    // Writes the blocks in order as the whole file, beside it and then renamed onto it (what
    // stands there, a link included, is replaced, never written through); not executable.
    virtual bool writeFile(const Text& path, std::span<const Bytes> blocks) = 0;
};

}  // namespace tamrivo
