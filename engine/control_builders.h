#pragma once

#include "engine/engine_window.h"

namespace tamrivo {

class Artwork;

// Makes one control of a window from its definition, inside its container, with its
// initial text, state and settings, and binds its events to the window's controller.
// The handle is left for the caller to give.
Control buildControl(const ControlDefinition& definition, QWidget* container, EngineWindow& window,
                     const Artwork& artwork);

}  // namespace tamrivo
