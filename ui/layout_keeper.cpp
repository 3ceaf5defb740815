#include "ui/layout_keeper.h"

#include <array>

namespace tamrivo {
namespace {

// What each of the modes 0 to 7 adds the window's growth to, and which part of the
// control's rectangle is handed on.
struct ModeRule {
    bool followRight;
    bool followBottom;
    bool stretchSideways;
    bool stretchDown;
    int placeFlags;
};

constexpr std::array<ModeRule, 8> kModeRules{{
    {false, false, true, true, kPlaceNoMove},        // 0
    {true, false, false, false, kPlaceNoSize},       // 1
    {false, true, false, false, kPlaceNoSize},       // 2
    {true, true, false, false, kPlaceNoSize},        // 3
    {true, false, false, true, kPlaceMoveAndSize},   // 4
    {false, true, true, false, kPlaceMoveAndSize},   // 5
    {false, false, true, false, kPlaceMoveAndSize},  // 6
    {false, false, false, true, kPlaceMoveAndSize},  // 7
}};
constexpr int kCentreMode = 8;

// Coordinates are worked out in double precision and truncated toward zero on the way out,
// which only shows in the halves of the centring mode.
int truncated(double value) {
    return static_cast<int>(value);
}

Rect placedAt(double left, double top, double width, double height) {
    const int x = truncated(left);
    const int y = truncated(top);
    return {x, y, x + truncated(width), y + truncated(height)};
}

}  // namespace

void LayoutKeeper::attach(WindowHandle window) {
    windowHandle_ = window;
    attachRect_ = geometry_.frameRect(window);
}

void LayoutKeeper::add(WindowHandle control, int mode) {
    const Rect screen = geometry_.frameRect(control);
    const Point topLeft = geometry_.screenToClient(windowHandle_, {screen.left, screen.top});
    const Point bottomRight =
        geometry_.screenToClient(windowHandle_, {screen.right, screen.bottom});
    entries_.push_back({control, mode, topLeft.x, topLeft.y, bottomRight.x - topLeft.x,
                        bottomRight.y - topLeft.y, windowHandle_});
}

void LayoutKeeper::relayout() {
    if (entries_.empty()) {
        return;
    }
    const Rect current = geometry_.frameRect(windowHandle_);
    const double dW = static_cast<double>(current.width()) - attachRect_.width();
    const double dH = static_cast<double>(current.height()) - attachRect_.height();
    for (const LayoutEntry& entry : entries_) {
        apply(entry, dW, dH, current.width());
    }
}

void LayoutKeeper::apply(const LayoutEntry& entry, double dW, double dH, double outerWidth) {
    const double width = entry.width;
    const double height = entry.height;
    if (entry.mode == kCentreMode) {
        geometry_.placeControl(entry.controlHandle,
                               placedAt(outerWidth / 2 - width / 2, entry.top, width, height),
                               kPlaceNoSize);
        return;
    }
    if (entry.mode < 0 || entry.mode >= static_cast<int>(kModeRules.size())) {
        return;
    }
    const ModeRule& rule = kModeRules[static_cast<std::size_t>(entry.mode)];
    const double left = entry.left + (rule.followRight ? dW : 0.0);
    const double top = entry.top + (rule.followBottom ? dH : 0.0);
    geometry_.placeControl(entry.controlHandle,
                           placedAt(left, top, width + (rule.stretchSideways ? dW : 0.0),
                                    height + (rule.stretchDown ? dH : 0.0)),
                           rule.placeFlags);
}

}  // namespace tamrivo
