#include <QApplication>

#include "windows/frm_orlis_calc.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // Lets the desktop match the window to its menu entry (Wayland).
    QGuiApplication::setDesktopFileName(QStringLiteral("com.mervane.linkcalc"));
    linkcalc::windows::FrmOrlisCalc window;
    window.show();
    return QApplication::exec();
}
