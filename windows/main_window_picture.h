#pragma once

#include <QPixmap>

#include "windows/control_row.h"

namespace linkcalc::windows {

// A picture of an area of the main window as it first opens: every field empty but the two
// cable losses, which show "0". Drawn from a hidden window of its own, so the help pictures
// always match the layout and never show what the user typed.
QPixmap EmptyMainWindowPicture(const TwipsArea& area);

}  // namespace linkcalc::windows
