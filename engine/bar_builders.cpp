#include "engine/bar_builders.h"

#include <QAction>
#include <QEvent>
#include <QListWidget>
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
    const Handler onChange = definition.handlerFor(EventKind::CurrentItemChanged);
    QObject::connect(list, &QListWidget::currentRowChanged, &window,
                     [&window, onChange, name = definition.name](int row) {
                         window.raise(EventKind::CurrentItemChanged, onChange, name, row);
                     });
    return list;
}

}  // namespace tamrivo
