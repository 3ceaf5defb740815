#include "engine/bar_builders.h"

#include <QAction>
#include <QEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QToolBar>

#include "engine/artwork.h"
#include "engine/conversions.h"
#include "engine/engine_window.h"
#include "engine/status_bar.h"
#include "engine/title_words.h"

namespace tamrivo {
namespace {

constexpr int kImageSize = 32;

// Toolbar buttons show no tooltip.
class ToolTipBlocker : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        return event->type() == QEvent::ToolTip;
    }
};

// A click on empty space in a room list clears its selection, as a Windows list view's does.
// Qt 6.4 did so on its own; Qt 6.8 keeps the selection, so it is cleared here on every Qt.
class EmptySpaceDeselector : public QObject {
public:
    explicit EmptySpaceDeselector(QListWidget* list) : QObject(list), list_(list) {}
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonPress &&
            !list_->indexAt(static_cast<QMouseEvent*>(event)->position().toPoint()).isValid()) {
            list_->clearSelection();
        }
        return false;
    }

private:
    QListWidget* list_;
};

}  // namespace

QWidget* makeStatusBar(const ControlDefinition& definition, QWidget* container,
                       EngineWindow& window) {
    auto* bar = new StatusBar(definition.statusParts, container);
    bar->resize(definition.bounds.width, definition.bounds.height);
    window.dock(bar, false);
    return bar;
}

QWidget* makeToolbar(const ControlDefinition& definition, QWidget* container, EngineWindow& window,
                     const Artwork& artwork) {
    auto* bar = new QToolBar(container);
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize({kImageSize, kImageSize});
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    auto* blocker = new ToolTipBlocker(bar);
    const Handler onClick = definition.handlerFor(EventKind::ToolbarClicked);
    for (std::size_t i = 0; i < definition.toolbarItems.size(); ++i) {
        const ToolbarItem& item = definition.toolbarItems[i];
        if (item.isSeparator()) {
            bar->addSeparator();
            continue;
        }
        QAction* action = bar->addAction(artwork.toolbarImage(item.image), toQString(item.caption));
        bar->widgetForAction(action)->installEventFilter(blocker);
        const int index = static_cast<int>(i);  // separators count
        QObject::connect(action, &QAction::triggered, &window,
                         [&window, onClick, index, name = definition.name] {
                             window.raise(EventKind::ToolbarClicked, onClick, name, index);
                         });
    }
    bar->resize(definition.bounds.width, bar->sizeHint().height());
    window.dock(bar, true);
    return bar;
}

QWidget* makeListView(const ControlDefinition& definition, QWidget* container,
                      EngineWindow& window) {
    auto* list = new QListWidget(container);
    list->setViewMode(QListView::IconMode);
    list->setIconSize({kImageSize, kImageSize});
    list->setGridSize({96, 72});
    list->setMovement(QListView::Static);
    list->setResizeMode(QListView::Adjust);
    list->setWordWrap(true);
    list->setItemDelegate(new TitleWordsDelegate(list));
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->viewport()->installEventFilter(new EmptySpaceDeselector(list));
    // The event follows the selection, as a Windows list view's does, and tells the selected
    // row or -1. Qt's current row is no guide: it makes the first row current, unselected, once
    // a list is filled, and keeps the last row current when a click on empty space clears the
    // selection.
    const Handler onChange = definition.handlerFor(EventKind::CurrentItemChanged);
    QObject::connect(list, &QListWidget::itemSelectionChanged, &window,
                     [list, &window, onChange, name = definition.name] {
                         window.raise(EventKind::CurrentItemChanged, onChange, name,
                                      selectedRow(*list));
                     });
    return list;
}

int selectedRow(const QListWidget& list) {
    const QList<QListWidgetItem*> selected = list.selectedItems();
    return selected.isEmpty() ? -1 : list.row(selected.first());
}

}  // namespace tamrivo
