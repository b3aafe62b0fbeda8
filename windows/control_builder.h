#pragma once

#include <QHash>
#include <QString>
#include <span>

#include "windows/control_spec.h"

class QWidget;

namespace linkcalc::windows {

using ControlMap = QHash<QString, QWidget*>;

// Gives the window its caption, client size, position, back colour and font.
void ApplyWindowSpec(QWidget& window, const WindowSpec& spec);

// Builds every control of a table on the window, each named after its row, and chains the
// controls that take the focus in ascending tab index. Rows must come after their parents.
ControlMap BuildControls(QWidget& window, std::span<const ControlSpec> table);

}  // namespace linkcalc::windows
