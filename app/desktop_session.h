#pragma once

#include <QApplication>
#include <memory>

namespace linkcalc::app {

// sysexits' EX_UNAVAILABLE: there is no desktop session to open the window in.
inline constexpr int kNoDesktopStatus = 69;

// The program's application object, or null when no display is named: neither DISPLAY nor
// WAYLAND_DISPLAY is set, and neither QT_QPA_PLATFORM nor -platform picks a platform by hand.
// When a display is named but Qt cannot open it, the process ends with kNoDesktopStatus right
// there, as Qt would otherwise abort it. Either way one line on standard error says why and
// points to linkcalc-cli.
std::unique_ptr<QApplication> OpenDesktopApplication(int& argc, char** argv);

}  // namespace linkcalc::app
