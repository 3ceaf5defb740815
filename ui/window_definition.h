#pragma once

#include <vector>

#include "base/value_types.h"
#include "ui/window_services.h"

namespace tamrivo {

// The kinds of control a window definition can hold, after the type word of their names.
enum class ControlType {
    Edit,         // 编辑框
    Button,       // 按钮
    Label,        // 标签
    GroupBox,     // 分组框
    ComboBox,     // 组合框
    DatePicker,   // 日期框
    ProgressBar,  // 进度条
    Timer,        // 时钟
    StatusBar,    // 状态条
    Toolbar,      // 工具条
    ListView,     // 超级列表框
    Table,        // 表格
    CheckBox,     // 选择框
    Calendar,     // 房态表: rooms down, days across, a bar per stay
    Chart,        // 图表
};

enum class EditMode { Normal = 0, ReadOnly = 1, Password = 2, Decimal = 4 };

struct EventBinding {
    EventKind kind = EventKind::Created;
    Handler handler = Handler::None;
    friend bool operator==(const EventBinding&, const EventBinding&) = default;
};

// Left, top, width and height in pixels, relative to the container's client area.
struct Bounds {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const Bounds&, const Bounds&) = default;
};

// A toolbar item: a button with its caption and image, or a separator (image -1).
struct ToolbarItem {
    Text caption;
    int image = -1;
    bool isSeparator() const { return image < 0; }
};

// A column of a table. Numbers stand right-aligned and sort by their value; other cells
// stand left-aligned and sort as texts.
struct TableColumn {
    enum class Kind { Text, Number };
    Text title;
    int width = 0;  // pixels
    Kind kind = Kind::Text;
};

// A status bar part; width -1 takes the rest of the bar.
struct StatusPart {
    int width = -1;
    Text text;
};

struct ControlDefinition {
    Text name;
    ControlType type = ControlType::Label;
    Text container;  // a group box of the same window; empty for the window itself
    Bounds bounds;
    Text text;
    bool visible = true;
    bool disabled = false;
    bool focusable = false;
    int tabOrder = 0;  // 0: definition order within the container
    std::vector<EventBinding> events;

    EditMode editMode = EditMode::Normal;  // edit box
    bool multiLine = false;                // edit box
    int maxLength = 0;                     // edit box: most characters typed or pasted; 0 none
    bool gbkOnly = false;     // edit box: refuses what GBK cannot hold, rather than reading "?"
    std::vector<Text> items;  // combo box
    int selectedIndex = -1;   // combo box
    bool daysOnly = false;    // date picker: shows and picks days, not times
    int interval = 0;         // timer, ms; 0 stopped
    int maximum = 100;        // progress bar
    int fontPixelHeight = 0;  // 0: the window's font
    bool alert = false;       // written in red: something the landlord must act on
    std::vector<ToolbarItem> toolbarItems;
    std::vector<StatusPart> statusParts;
    std::vector<TableColumn> columns;  // table

    // Modifiers, so a definition reads like a row of its window's table.
    ControlDefinition in(Text groupBox) &&;
    ControlDefinition on(EventKind kind, Handler handler) &&;
    ControlDefinition mode(EditMode mode) &&;
    ControlDefinition multiLineText() &&;
    ControlDefinition limit(int characters) &&;
    ControlDefinition tab(int order) &&;
    ControlDefinition disabledAtStart() &&;
    ControlDefinition font(int pixelHeight) &&;
    ControlDefinition inRed() &&;
    ControlDefinition onlyDays() &&;
    ControlDefinition onlyGbk() &&;

    Handler handlerFor(EventKind kind) const;
};

struct WindowDefinition {
    Text caption;
    int width = 0;  // outer size in pixels
    int height = 0;
    bool resizable = false;
    std::vector<EventBinding> events;
    std::vector<ControlDefinition> controls;

    Handler handlerFor(EventKind kind) const;
    const ControlDefinition* control(const Text& name) const;
};

// One constructor per control type, with the settings every such control needs.
ControlDefinition editBox(Text name, Bounds bounds);
ControlDefinition button(Text name, Text caption, Bounds bounds);
ControlDefinition label(Text name, Text caption, Bounds bounds);
ControlDefinition groupBox(Text name, Text title, Bounds bounds);
ControlDefinition comboBox(Text name, Bounds bounds, std::vector<Text> items, int selectedIndex);
ControlDefinition datePicker(Text name, Bounds bounds);
ControlDefinition progressBar(Text name, Bounds bounds, int maximum);
ControlDefinition timer(Text name, Bounds bounds, int interval);
ControlDefinition statusBar(Text name, Bounds bounds, std::vector<StatusPart> parts);
ControlDefinition toolbar(Text name, Bounds bounds, std::vector<ToolbarItem> items);
ControlDefinition listView(Text name, Bounds bounds);
ControlDefinition table(Text name, Bounds bounds, std::vector<TableColumn> columns);
ControlDefinition checkBox(Text name, Text caption, Bounds bounds);
ControlDefinition roomCalendar(Text name, Bounds bounds);
ControlDefinition chart(Text name, Text title, Bounds bounds);

ToolbarItem separator();

// The definition of each window; the same object for the program's life.
const WindowDefinition& windowDefinition(WindowKind kind);

}  // namespace tamrivo
