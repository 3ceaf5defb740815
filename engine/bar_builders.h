#pragma once

#include "ui/window_definition.h"

class QListWidget;
class QWidget;

namespace tamrivo {

class Artwork;
class EngineWindow;

// The status bar and the toolbar keep to the bottom and the top of the window across its
// width; the list view shows its rows as 32 x 32 state images with their titles.
QWidget* makeStatusBar(const ControlDefinition& definition, QWidget* container,
                       EngineWindow& window);
QWidget* makeToolbar(const ControlDefinition& definition, QWidget* container, EngineWindow& window,
                     const Artwork& artwork);
QWidget* makeListView(const ControlDefinition& definition, QWidget* container,
                      EngineWindow& window);

// The selected row of a list view (one at most), or -1 when none is.
int selectedRow(const QListWidget& list);

// Row data of list views: the number stored with each row.
inline constexpr int kRowNumberRole = 0x0100;     // Qt::UserRole
inline constexpr int kRowImageRole = 0x0100 + 1;  // which state image the row shows

}  // namespace tamrivo
