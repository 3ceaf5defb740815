#pragma once

#include <vector>

#include "ui/window_services.h"

namespace tamrivo {

// How a registered control follows the window's growth. A value outside these (cast from a
// number) leaves the control alone.
enum class LayoutMode {
    Stretch = 0,  // both ways
    FollowRight = 1,
    FollowBottom = 2,
    FollowBottomRight = 3,
    FollowRightStretchDown = 4,
    FollowBottomStretchSideways = 5,
    StretchSideways = 6,
    StretchDown = 7,
    CentreHorizontally = 8,  // on the outer width
};

// Keeps chosen controls of a resizable window in place as the window's size changes: each
// registered control follows the right or bottom edge, stretches, or stays centred, by the
// mode it was registered with. Differences are taken between outer (frame) rectangles.
class LayoutKeeper {
public:
    explicit LayoutKeeper(WindowGeometry& geometry) : geometry_(geometry) {}

    // Takes the window whose size drives the layout; repeating it keeps the entries.
    void attach(WindowHandle window);
    // Registers a control at its present place; a control added twice is placed twice.
    void add(WindowHandle control, LayoutMode mode);
    void relayout();

private:
    struct LayoutEntry {
        WindowHandle controlHandle = 0;
        LayoutMode mode = LayoutMode::Stretch;
        int left = 0;
        int top = 0;
        int width = 0;
        int height = 0;
        WindowHandle ownerHandle = 0;
    };

    void apply(const LayoutEntry& entry, double dW, double dH, double outerWidth);

    WindowGeometry& geometry_;
    WindowHandle windowHandle_ = 0;
    Rect attachRect_;
    std::vector<LayoutEntry> entries_;
};

}  // namespace tamrivo
