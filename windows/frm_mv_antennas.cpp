#include "windows/frm_mv_antennas.h"

#include <QPushButton>

#include "windows/frm_mv_antennas_controls.h"
#include "windows/frm_orlis_calc.h"

namespace linkcalc::windows {

FrmMVAntennas::FrmMVAntennas(FrmOrlisCalc& mainWindow)
    : SecondaryWindow(kFrmMVAntennasWindow, kFrmMVAntennasControls, "CmdAntInt23", "CmdExit"),
      mainWindow_(&mainWindow) {
    for (const GainButton& button : kGainButtons) {
        connect(qobject_cast<QPushButton*>(ControlNamed(button.control)), &QPushButton::clicked,
                this, [this, gain = button.gain] { WriteGain(gain); });
    }
}

void FrmMVAntennas::WriteGain(std::string_view gain) {
    // Texts only: the main window stays as it is, shown or closed, and no run starts.
    if (mainWindow_) {
        mainWindow_->SetText(Field::TxtAntG, gain);
        mainWindow_->SetText(Field::TxtAntG2, gain);
    }
    close();
}

}  // namespace linkcalc::windows
