#pragma once

#include <QPointer>

#include "windows/secondary_window.h"

namespace linkcalc::windows {

class FrmOrlisCalc;

// The picker of recommended antennas: a gain button writes its gain into both antenna gain
// fields of the main window and closes the picker.
class FrmMVAntennas final : public SecondaryWindow {
    Q_OBJECT

  public:
    explicit FrmMVAntennas(FrmOrlisCalc& mainWindow);

  private:
    void WriteGain(std::string_view gain);

    // The picker may outlive the main window; then a gain only closes it.
    QPointer<FrmOrlisCalc> mainWindow_;
};

}  // namespace linkcalc::windows
