#include "tests/support/engine_harness.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QListWidget>
#include <QTableView>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

#include <iostream>
#include <string>

#include "engine/conversions.h"
#include "engine/unknown_control.h"

namespace tamrivo::testing {
namespace {

void sendKey(QWidget& widget, int key, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(&widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(&widget, &release);
}

// Qt numbers the printable ASCII keys by their upper-case character.
int keyOf(char32_t character) {
    if (character >= 'a' && character <= 'z') {
        return static_cast<int>(character - 'a') + Qt::Key_A;
    }
    if (character >= 0x20 && character < 0x7F) {
        return static_cast<int>(character);
    }
    return Qt::Key_unknown;
}

// A control name the window lacks is a fault of the test or of the screen it drives.
void failTheTest(const std::string& report) {
    if (::testing::UnitTest::GetInstance()->current_test_info() != nullptr) {
        ADD_FAILURE() << report;
    } else {
        std::cerr << report << '\n';
    }
}

}  // namespace

QApplication& application() {
    static int argc = 1;
    static char name[] = "tamrivo-tests";
    static char* argv[] = {name, nullptr};
    // Never destroyed: Qt's own statics may be gone by the time a static destructor runs.
    static QApplication* app = [] {
        setUnknownControlReporter(failTheTest);
        return new QApplication(argc, argv);
    }();
    return *app;
}

UnknownControlCounter::UnknownControlCounter() {
    application();
    setUnknownControlReporter([this](const std::string& report) {
        ++count_;
        lastReport_ = report;
    });
}

UnknownControlCounter::~UnknownControlCounter() {
    setUnknownControlReporter(failTheTest);
}

bool waitUntil(const std::function<bool()>& condition, int timeoutMs) {
    return QTest::qWaitFor(condition, timeoutMs);
}

void processEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

bool clickControl(QtWindowServices& services, WindowHandle window, const Text& control) {
    QWidget* widget = services.widget(window, control);
    if (widget == nullptr) {
        return false;
    }
    QTest::mouseClick(widget, Qt::LeftButton);
    return true;
}

bool typeText(QtWindowServices& services, WindowHandle window, const Text& control,
              const Text& text) {
    QWidget* widget = services.widget(window, control);
    if (widget == nullptr) {
        return false;
    }
    for (const char32_t character : toQString(text).toUcs4()) {
        sendKey(*widget, keyOf(character), QString::fromUcs4(&character, 1));
    }
    return true;
}

bool pressKey(QtWindowServices& services, WindowHandle window, const Text& control, int qtKey) {
    QWidget* widget = services.widget(window, control);
    if (widget == nullptr) {
        return false;
    }
    const QString text = qtKey == Qt::Key_Return ? QStringLiteral("\r") : QString();
    sendKey(*widget, qtKey, text);
    return true;
}

bool pickComboItem(QtWindowServices& services, WindowHandle window, const Text& combo, int index) {
    auto* box = qobject_cast<QComboBox*>(services.widget(window, combo));
    if (box == nullptr || index < 0 || index >= box->count()) {
        return false;
    }
    box->setCurrentIndex(index);
    Q_EMIT box->activated(index);
    return true;
}

bool selectListRow(QtWindowServices& services, WindowHandle window, const Text& list, int row) {
    auto* view = qobject_cast<QListWidget*>(services.widget(window, list));
    QListWidgetItem* item = view == nullptr ? nullptr : view->item(row);
    if (item == nullptr) {
        return false;
    }
    view->scrollToItem(item);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualItemRect(item).center());
    return true;
}

bool doubleClickTableRow(QtWindowServices& services, WindowHandle window, const Text& table,
                         int row, int column) {
    auto* view = qobject_cast<QTableView*>(services.widget(window, table));
    const QModelIndex cell = view == nullptr ? QModelIndex() : view->model()->index(row, column);
    if (!cell.isValid()) {
        return false;
    }
    view->scrollTo(cell);
    const QPoint centre = view->visualRect(cell).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, centre);
    return true;
}

bool clickToolbarItem(QtWindowServices& services, WindowHandle window, const Text& toolbar,
                      const Text& caption) {
    auto* bar = qobject_cast<QToolBar*>(services.widget(window, toolbar));
    if (bar == nullptr) {
        return false;
    }
    const QString wanted = toQString(caption);
    for (QAction* action : bar->actions()) {
        if (!action->isSeparator() && action->text() == wanted) {
            QTest::mouseClick(bar->widgetForAction(action), Qt::LeftButton);
            return true;
        }
    }
    return false;
}

}  // namespace tamrivo::testing
