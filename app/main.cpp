#include <QApplication>

#include "app/sheet_dump.h"
#include "windows/frm_orlis_calc.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // Lets the desktop match the window to its menu entry (Wayland).
    QGuiApplication::setDesktopFileName(QStringLiteral("com.mervane.linkcalc"));
    linkcalc::windows::FrmOrlisCalc window;
    window.show();
    const int status = QApplication::exec();
    linkcalc::app::DumpSheetIfAsked(window);
    return status;
}
