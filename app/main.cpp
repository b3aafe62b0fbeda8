#include <QApplication>
#include <cstdio>

#include "app/desktop_session.h"
#include "windows/frm_orlis_calc.h"
#include "windows/window_faces.h"

int main(int argc, char* argv[]) {
    const auto app = linkcalc::app::OpenDesktopApplication(argc, argv);
    if (!app) return linkcalc::app::kNoDesktopStatus;
    // Lets the desktop match the window to its menu entry (Wayland).
    QGuiApplication::setDesktopFileName(QStringLiteral("com.mervane.linkcalc"));
    // A missing face is drawn with another one, and captions then break elsewhere or get cut.
    for (const QString& warning : linkcalc::windows::MissingFaceWarnings()) {
        std::fprintf(stderr, "linkcalc: %s\n", warning.toLocal8Bit().constData());
    }
    linkcalc::windows::FrmOrlisCalc window;
    window.show();
    return QApplication::exec();
}
