#pragma once

#include <QHash>
#include <QPixmap>
#include <QString>
#include <functional>
#include <span>

#include "windows/control_row.h"

class QWidget;

namespace linkcalc::windows {

using ControlMap = QHash<QString, QWidget*>;

// Draws an area of the main window, for picture boxes that show one.
using SnapshotMaker = std::function<QPixmap(const TwipsArea& area)>;

// Gives the window its caption, title-bar boxes, icon, client size, position, back colour and
// font.
void ApplyWindowRow(QWidget& window, const WindowRow& row);

// Builds every control of a table on the window, each named after its row, and chains the
// controls that take the focus in ascending tab index. Rows must come after their parents.
// Picture boxes without a resource picture get theirs from the snapshot maker.
ControlMap BuildControls(QWidget& window, std::span<const ControlRow> table,
                         const SnapshotMaker& snapshots = {});

}  // namespace linkcalc::windows
