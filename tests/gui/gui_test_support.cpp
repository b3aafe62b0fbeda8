#include "gui_test_support.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

namespace linkcalc::windows::test {

bool ShowActive(QWidget& window) {
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

QString FocusedControl(const FrmOrlisCalc& window) {
    for (QWidget* widget = QApplication::focusWidget(); widget; widget = widget->parentWidget()) {
        if (window.Control(widget->objectName()) == widget) return widget->objectName();
    }
    return {};
}

QStringList SheetTexts(const FrmOrlisCalc& window) {
    QStringList texts;
    for (const FieldInfo& info : kFields) {
        texts << QString::fromUtf8(info.name.data(), static_cast<qsizetype>(info.name.size())) +
                     "=" + QString::fromStdString(window.Text(info.field));
    }
    return texts;
}

}  // namespace linkcalc::windows::test
