#include "engine/window_factory.h"

#include <algorithm>
#include <vector>

#include "engine/artwork.h"
#include "engine/control_builders.h"
#include "engine/conversions.h"

namespace tamrivo {
namespace {

constexpr int kFontPixelHeight = 12;  // the size Windows dialogs are laid out for

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
// orders first, then definition order.
void applyTabOrder(const EngineWindow& window, const WindowDefinition& definition) {
    struct Stop {
        std::size_t containerIndex;
        int order;
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
        const int order = control.tabOrder > 0 ? control.tabOrder : 1000 + static_cast<int>(i);
        stops.push_back({containerIndex, order, made->widget});
    }
    std::stable_sort(stops.begin(), stops.end(), [](const Stop& a, const Stop& b) {
        return a.containerIndex != b.containerIndex ? a.containerIndex < b.containerIndex
                                                    : a.order < b.order;
    });
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
