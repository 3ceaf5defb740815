#pragma once

#include <functional>
#include <memory>

#include "engine/engine_window.h"

namespace tamrivo {

class Artwork;

// Makes a window and its controls from its definition, in definition order, hidden. Each
// control that has a widget takes a handle from newHandle.
EngineWindow* createWindow(const WindowDefinition& definition, WindowHandle handle,
                           std::unique_ptr<WindowController> controller, QWidget* owner,
                           const Artwork& artwork, const std::function<WindowHandle()>& newHandle);

}  // namespace tamrivo
