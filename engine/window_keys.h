#pragma once

class QKeyEvent;

namespace tamrivo {

class EngineWindow;

// Enter and Esc as a dialog answers them, for the keys no control of the window took: Enter
// presses the focused button, or else the window's confirm button (captioned 确定 or 确认),
// with every check its click makes; Esc presses the window's cancel button (the one bound to
// closing the window), or closes the window as its frame would. The main window never closes
// on Esc. True when the key was used.
bool answerWindowKey(EngineWindow& window, const QKeyEvent& event);

}  // namespace tamrivo
