// The least a Qt program does to put a window on the screen, ending by itself once the
// window has been painted.
#include <QApplication>
#include <QWidget>

#include "bench/app/quit_when_shown.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QWidget window;
    window.show();
    tamrivo::bench::quitWhenShown(window, [] { QCoreApplication::quit(); });
    return QApplication::exec();
}
