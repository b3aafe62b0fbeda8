#pragma once

#include <QString>
#include <QStringList>

#include "windows/frm_orlis_calc.h"

class QWidget;

namespace linkcalc::windows::test {

// A control of the window by name, as the given widget type; fails the test when missing.
template <class Widget>
Widget* ControlAs(const FrmOrlisCalc& window, const QString& name) {
    return qobject_cast<Widget*>(window.Control(name));
}

// Shows the window and waits until it is the active window, so keys reach it.
bool ShowActive(QWidget& window);

// The named control that holds the keyboard focus (a combo's edit part counts as the combo).
QString FocusedControl(const FrmOrlisCalc& window);

// Texts of all 29 sheet fields, by control name.
QStringList SheetTexts(const FrmOrlisCalc& window);

}  // namespace linkcalc::windows::test
