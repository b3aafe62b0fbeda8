#pragma once

#include <QStringList>
#include <vector>

#include "windows/control_row.h"

namespace linkcalc::windows {

// Every face, weight and slant the windows draw with, once each: the fonts of all window and
// control tables, a row that takes its window's font counted as that font.
std::vector<RowFont> WindowFaces();

// One line per font package whose faces the desktop lacks (fontconfig then draws another face,
// or slants an upright one), naming the faces and the package to install; empty when all are
// there.
QStringList MissingFaceWarnings();

}  // namespace linkcalc::windows
