#include "ui/window_definition.h"

#include <algorithm>
#include <utility>

namespace tamrivo {
namespace {

Handler findHandler(const std::vector<EventBinding>& events, EventKind kind) {
    const auto found =
        std::find_if(events.begin(), events.end(),
                     [kind](const EventBinding& binding) { return binding.kind == kind; });
    return found == events.end() ? Handler::None : found->handler;
}

ControlDefinition makeControl(Text name, ControlType type, Bounds bounds, bool focusable) {
    ControlDefinition control;
    control.name = std::move(name);
    control.type = type;
    control.bounds = bounds;
    control.focusable = focusable;
    return control;
}

}  // namespace

ControlDefinition ControlDefinition::in(Text groupBox) && {
    container = std::move(groupBox);
    return std::move(*this);
}

ControlDefinition ControlDefinition::on(EventKind kind, Handler handler) && {
    events.push_back({kind, handler});
    return std::move(*this);
}

ControlDefinition ControlDefinition::mode(EditMode newMode) && {
    editMode = newMode;
    return std::move(*this);
}

ControlDefinition ControlDefinition::multiLineText() && {
    multiLine = true;
    return std::move(*this);
}

ControlDefinition ControlDefinition::limit(int characters) && {
    maxLength = characters;
    return std::move(*this);
}

ControlDefinition ControlDefinition::tab(int order) && {
    tabOrder = order;
    return std::move(*this);
}

ControlDefinition ControlDefinition::disabledAtStart() && {
    disabled = true;
    return std::move(*this);
}

ControlDefinition ControlDefinition::font(int pixelHeight) && {
    fontPixelHeight = pixelHeight;
    return std::move(*this);
}

ControlDefinition ControlDefinition::inRed() && {
    alert = true;
    return std::move(*this);
}

ControlDefinition ControlDefinition::onlyGbk() && {
    gbkOnly = true;
    return std::move(*this);
}

ControlDefinition ControlDefinition::onlyDays() && {
    daysOnly = true;
    return std::move(*this);
}

Handler ControlDefinition::handlerFor(EventKind kind) const {
    return findHandler(events, kind);
}

Handler WindowDefinition::handlerFor(EventKind kind) const {
    return findHandler(events, kind);
}

const ControlDefinition* WindowDefinition::control(const Text& name) const {
    const auto found = std::find_if(controls.begin(), controls.end(),
                                    [&name](const ControlDefinition& c) { return c.name == name; });
    return found == controls.end() ? nullptr : &*found;
}

ControlDefinition editBox(Text name, Bounds bounds) {
    return makeControl(std::move(name), ControlType::Edit, bounds, true);
}

ControlDefinition button(Text name, Text caption, Bounds bounds) {
    ControlDefinition control = makeControl(std::move(name), ControlType::Button, bounds, true);
    control.text = std::move(caption);
    return control;
}

ControlDefinition label(Text name, Text caption, Bounds bounds) {
    ControlDefinition control = makeControl(std::move(name), ControlType::Label, bounds, false);
    control.text = std::move(caption);
    return control;
}

ControlDefinition groupBox(Text name, Text title, Bounds bounds) {
    ControlDefinition control = makeControl(std::move(name), ControlType::GroupBox, bounds, false);
    control.text = std::move(title);
    return control;
}

ControlDefinition comboBox(Text name, Bounds bounds, std::vector<Text> items, int selectedIndex) {
    ControlDefinition control = makeControl(std::move(name), ControlType::ComboBox, bounds, true);
    control.items = std::move(items);
    control.selectedIndex = selectedIndex;
    return control;
}

ControlDefinition datePicker(Text name, Bounds bounds) {
    return makeControl(std::move(name), ControlType::DatePicker, bounds, true);
}

ControlDefinition progressBar(Text name, Bounds bounds, int maximum) {
    ControlDefinition control =
        makeControl(std::move(name), ControlType::ProgressBar, bounds, false);
    control.maximum = maximum;
    return control;
}

ControlDefinition timer(Text name, Bounds bounds, int interval) {
    ControlDefinition control = makeControl(std::move(name), ControlType::Timer, bounds, false);
    control.interval = interval;
    return control;
}

ControlDefinition statusBar(Text name, Bounds bounds, std::vector<StatusPart> parts) {
    ControlDefinition control = makeControl(std::move(name), ControlType::StatusBar, bounds, false);
    control.statusParts = std::move(parts);
    return control;
}

ControlDefinition toolbar(Text name, Bounds bounds, std::vector<ToolbarItem> items) {
    ControlDefinition control = makeControl(std::move(name), ControlType::Toolbar, bounds, false);
    control.toolbarItems = std::move(items);
    return control;
}

ControlDefinition listView(Text name, Bounds bounds) {
    return makeControl(std::move(name), ControlType::ListView, bounds, true);
}

ControlDefinition table(Text name, Bounds bounds, std::vector<TableColumn> columns) {
    ControlDefinition control = makeControl(std::move(name), ControlType::Table, bounds, true);
    control.columns = std::move(columns);
    return control;
}

ControlDefinition checkBox(Text name, Text caption, Bounds bounds) {
    ControlDefinition control = makeControl(std::move(name), ControlType::CheckBox, bounds, true);
    control.text = std::move(caption);
    return control;
}

ControlDefinition roomCalendar(Text name, Bounds bounds) {
    return makeControl(std::move(name), ControlType::Calendar, bounds, true);
}

ControlDefinition chart(Text name, Text title, Bounds bounds) {
    ControlDefinition control = makeControl(std::move(name), ControlType::Chart, bounds, false);
    control.text = std::move(title);
    return control;
}

ToolbarItem separator() {
    return ToolbarItem{};
}

}  // namespace tamrivo
