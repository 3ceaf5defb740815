#include "engine/window_factory.h"

#include <algorithm>
#include <tuple>
#include <vector>

#include "engine/artwork.h"
#include "engine/control_builders.h"
#include "engine/conversions.h"

namespace tamrivo {
namespace {

constexpr int kFontPixelHeight = 12;  // the size Windows dialogs are laid out for
constexpr int kUnstatedOrder = 1000;  // after every stated tab order
constexpr int kRowTolerance = 8;      // pixels between the tops of controls on one row

void sizeWindow(EngineWindow& window, const WindowDefinition& definition) {
    const QSize client(definition.width - kNominalFrame.left() - kNominalFrame.right(),
                       definition.height - kNominalFrame.top() - kNominalFrame.bottom());
    if (definition.resizable) {
        window.resize(client);
    } else {
        window.setFixedSize(client);
    }
}

// Focusable controls in the order Tab visits them: container by container, stated tab
// orders first, then the others as they are read: row by row (a control whose top is within
// a few pixels of a row's is on it), left to right in a row.
void applyTabOrder(const EngineWindow& window, const WindowDefinition& definition) {
    struct Stop {
        std::size_t containerIndex;
        int order;
        QPoint place;
        QWidget* widget;
    };
    std::vector<Stop> stops;
    for (std::size_t i = 0; i < definition.controls.size(); ++i) {
        const ControlDefinition& control = definition.controls[i];
        const Control* made = window.control(control.name);
        if (!control.focusable || made == nullptr || made->widget == nullptr) {
            continue;
        }
        std::size_t containerIndex = 0;
        for (std::size_t c = 0; c < i; ++c) {
            if (definition.controls[c].name == control.container) {
                containerIndex = c + 1;
            }
        }
        const int order = control.tabOrder > 0 ? control.tabOrder : kUnstatedOrder;
        stops.push_back(
            {containerIndex, order, QPoint(control.bounds.left, control.bounds.top), made->widget});
    }
    // Rows first: each control takes the top of the row it is read on.
    const auto key = [](const Stop& s) {
        return std::make_tuple(s.containerIndex, s.order, s.place.y(), s.place.x());
    };
    std::stable_sort(stops.begin(), stops.end(),
                     [&](const Stop& a, const Stop& b) { return key(a) < key(b); });
    for (std::size_t i = 1; i < stops.size(); ++i) {
        const Stop& before = stops[i - 1];
        if (stops[i].containerIndex == before.containerIndex &&
            stops[i].place.y() - before.place.y() <= kRowTolerance) {
            stops[i].place.setY(before.place.y());
        }
    }
    std::stable_sort(stops.begin(), stops.end(),
                     [&](const Stop& a, const Stop& b) { return key(a) < key(b); });
    for (std::size_t i = 1; i < stops.size(); ++i) {
        QWidget::setTabOrder(stops[i - 1].widget, stops[i].widget);
    }
}

}  // namespace

EngineWindow* createWindow(const WindowDefinition& definition, WindowHandle handle,
                           std::unique_ptr<WindowController> controller, QWidget* owner,
                           const Artwork& artwork, const std::function<WindowHandle()>& newHandle) {
    auto* window = new EngineWindow(handle, definition, std::move(controller), owner);
    window->setWindowTitle(toQString(definition.caption));
    window->setWindowIcon(artwork.windowIcon());
    QFont font = window->font();
    font.setPixelSize(kFontPixelHeight);
    window->setFont(font);
    sizeWindow(*window, definition);

    for (const ControlDefinition& definitionOfControl : definition.controls) {
        const Control* box = window->control(definitionOfControl.container);
        QWidget* container = box != nullptr && box->widget != nullptr ? box->widget : window;
        Control control = buildControl(definitionOfControl, container, *window, artwork);
        if (control.widget != nullptr) {
            control.handle = newHandle();
        }
        window->addControl(control);
    }
    applyTabOrder(*window, definition);
    return window;
}

}  // namespace tamrivo
