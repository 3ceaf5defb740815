#pragma once

#include "ui/window_definition.h"

class QKeyEvent;
class QLineEdit;
class QString;
class QWidget;

namespace tamrivo {

class EngineWindow;

// A single-line box (normal, read-only, password shown as "*", or decimal entry that takes
// only digits, "-" and ".") or a multi-line one that wraps. A box with a length limit takes
// no more than that from the person, typed or pasted.
QWidget* makeEditBox(const ControlDefinition& definition, QWidget* container, EngineWindow& window);

// Puts the program's text into a single-line box whole, even beyond the box's limit.
void setLineText(QLineEdit& box, const QString& text);

// The Windows virtual-key code of a key press (13 for Enter), 0 for keys without one here.
int windowsKeyCode(const QKeyEvent& event);

}  // namespace tamrivo
