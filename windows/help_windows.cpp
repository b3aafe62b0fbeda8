#include "windows/help_windows.h"

#include "windows/frm_inpt_hlp_controls.h"
#include "windows/frmhlp_controls.h"
#include "windows/main_window_picture.h"

namespace linkcalc::windows {

// Only the exit button takes the focus.
FrmInptHlp::FrmInptHlp()
    : SecondaryWindow(kFrmInptHlpWindow, kFrmInptHlpControls, "CmdExit", "CmdExit",
                      EmptyMainWindowPicture) {}

// Enter or Space closes the window at once.
Frmhlp::Frmhlp()
    : SecondaryWindow(kFrmhlpWindow, kFrmhlpControls, "Command1", "Command1",
                      EmptyMainWindowPicture) {}

}  // namespace linkcalc::windows
