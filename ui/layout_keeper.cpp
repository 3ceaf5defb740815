#include "ui/layout_keeper.h"

#include <array>

namespace tamrivo {
namespace {

// What each mode but the centring one adds the window's growth to, and which part of the
// control's rectangle is handed on; by the modes' numbers.
struct ModeRule {
    bool followRight;
    bool followBottom;
    bool stretchSideways;
    bool stretchDown;
    int placeFlags;
};

constexpr std::array<ModeRule, 8> kModeRules{{
    {false, false, true, true, kPlaceNoMove},        // Stretch
    {true, false, false, false, kPlaceNoSize},       // FollowRight
    {false, true, false, false, kPlaceNoSize},       // FollowBottom
    {true, true, false, false, kPlaceNoSize},        // FollowBottomRight
    {true, false, false, true, kPlaceMoveAndSize},   // FollowRightStretchDown
    {false, true, true, false, kPlaceMoveAndSize},   // FollowBottomStretchSideways
    {false, false, true, false, kPlaceMoveAndSize},  // StretchSideways
    {false, false, false, true, kPlaceMoveAndSize},  // StretchDown
}};

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

void LayoutKeeper::add(WindowHandle control, LayoutMode mode) {
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
    if (entry.mode == LayoutMode::CentreHorizontally) {
        geometry_.placeControl(entry.controlHandle,
                               placedAt(outerWidth / 2 - width / 2, entry.top, width, height),
                               kPlaceNoSize);
        return;
    }
    const int mode = static_cast<int>(entry.mode);
    if (mode < 0 || mode >= static_cast<int>(kModeRules.size())) {
        return;
    }
    const ModeRule& rule = kModeRules[static_cast<std::size_t>(mode)];
    const double left = entry.left + (rule.followRight ? dW : 0.0);
    const double top = entry.top + (rule.followBottom ? dH : 0.0);
    geometry_.placeControl(entry.controlHandle,
                           placedAt(left, top, width + (rule.stretchSideways ? dW : 0.0),
                                    height + (rule.stretchDown ? dH : 0.0)),
                           rule.placeFlags);
}

}  // namespace tamrivo
