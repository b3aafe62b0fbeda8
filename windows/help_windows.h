#pragma once

#include "windows/secondary_window.h"

namespace linkcalc::windows {

// The input help: seven numbered steps over a picture of the main window's inputs.
class FrmInptHlp final : public SecondaryWindow {
    Q_OBJECT

  public:
    FrmInptHlp();
};

// The result help: eight numbered notes over a picture of the main window's results.
class Frmhlp final : public SecondaryWindow {
    Q_OBJECT

  public:
    Frmhlp();
};

}  // namespace linkcalc::windows
