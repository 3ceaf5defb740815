#pragma once

#include "ui/window_definition.h"

class QWidget;
class QKeyEvent;

namespace tamrivo {

class EngineWindow;

// A single-line box (normal, read-only, password shown as "*", or decimal entry that takes
// only digits, "-" and ".") or a multi-line one that wraps.
QWidget* makeEditBox(const ControlDefinition& definition, QWidget* container, EngineWindow& window);

// The Windows virtual-key code of a key press (13 for Enter), 0 for keys without one here.
int windowsKeyCode(const QKeyEvent& event);

}  // namespace tamrivo
