#pragma once

#include <functional>

class QWidget;

namespace tamrivo::bench {

// Calls quit from the event loop once the window's first paint is done: it is on the screen
// and the loop has handled its showing. Both start-up programs end by this same rule.
void quitWhenShown(QWidget& window, std::function<void()> quit);

}  // namespace tamrivo::bench
