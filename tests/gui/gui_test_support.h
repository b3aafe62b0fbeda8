#pragma once

#include <QApplication>
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>

#include "windows/frm_orlis_calc.h"
#include "windows/secondary_window.h"

namespace linkcalc::windows::test {

// A control of the window by name, as the given widget type; null when missing.
template <class Widget, class Window>
Widget* ControlAs(const Window& window, const QString& name) {
    return qobject_cast<Widget*>(window.Control(name));
}

// Shows the window and waits until it is the active window, so keys reach it.
bool ShowActive(QWidget& window);

// The named control that holds the keyboard focus (a combo's edit part counts as the combo).
template <class Window>
QString FocusedControl(const Window& window) {
    for (QWidget* widget = QApplication::focusWidget(); widget; widget = widget->parentWidget()) {
        if (window.Control(widget->objectName()) == widget) return widget->objectName();
    }
    return {};
}

// What the window keeps to itself, for the tests.
struct MainWindowProbe {
    static const RunValues& Values(const FrmOrlisCalc& window) { return window.values_; }
};

inline const RunValues& RunValuesOf(const FrmOrlisCalc& window) {
    return MainWindowProbe::Values(window);
}

// Texts of all 29 sheet fields, by control name.
QStringList SheetTexts(const FrmOrlisCalc& window);

// A window whose notices, link requests and program end are only counted.
struct Counted {
    FrmOrlisCalc window;
    int notices = 0;
    QStringList links;
    int ends = 0;

    Counted();
};

// Fills the inputs with a link that runs to the end, in kilometres.
void FillKilometreLink(FrmOrlisCalc& window);

// The top-level windows of that name that are not destroyed yet.
QList<QWidget*> TopLevelsNamed(const QString& name);

// Presses a button of the main window and returns the one window of that name it shows.
SecondaryWindow* OpenThrough(FrmOrlisCalc& window, const QString& button, const QString& name);

// One image of an icon resource, as its directory describes it.
struct IconEntry {
    int size;     // width and height in pixels
    int colours;  // palette size; 0 when the image has no palette
    int bitsPerPixel;
    QByteArray image;  // the stored image: a bitmap, or a compressed PNG
};

// The images of an .ico resource, in directory order; empty when it is no icon.
QList<IconEntry> IconEntries(const QString& resource);

}  // namespace linkcalc::windows::test
