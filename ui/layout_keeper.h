#pragma once

#include <vector>

#include "ui/window_services.h"

namespace tamrivo {

// Keeps chosen controls of a resizable window in place as the window's size changes: each
// registered control follows the right or bottom edge, stretches, or stays centred, by the
// mode it was registered with. Differences are taken between outer (frame) rectangles.
//
// Modes: 0 stretch both ways; 1 follow the right edge; 2 follow the bottom edge; 3 follow the
// bottom-right corner; 4 follow the right edge and stretch down; 5 follow the bottom edge and
// stretch sideways; 6 stretch sideways; 7 stretch down; 8 centre horizontally on the outer
// width; any other mode leaves the control alone.
class LayoutKeeper {
public:
    explicit LayoutKeeper(WindowGeometry& geometry) : geometry_(geometry) {}

    // Takes the window whose size drives the layout; repeating it keeps the entries.
    void attach(WindowHandle window);
    // Registers a control at its present place; a control added twice is placed twice.
    void add(WindowHandle control, int mode);
    void relayout();

private:
    struct LayoutEntry {
        WindowHandle controlHandle = 0;
        int mode = 0;
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
