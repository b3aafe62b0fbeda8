#include "windows/secondary_window.h"

#include <QPushButton>

#include "windows/qt_text.h"

namespace linkcalc::windows {

SecondaryWindow::SecondaryWindow(const WindowRow& row, std::span<const ControlRow> table,
                                 std::string_view focus, std::string_view closeButton,
                                 const SnapshotMaker& snapshots)
    : QWidget(nullptr) {
    setAttribute(Qt::WA_DeleteOnClose);
    ApplyWindowRow(*this, row);
    controls_ = BuildControls(*this, table, snapshots);
    connect(qobject_cast<QPushButton*>(ControlNamed(closeButton)), &QPushButton::clicked, this,
            &QWidget::close);
    ControlNamed(focus)->setFocus();
}

QWidget* SecondaryWindow::ControlNamed(std::string_view name) const {
    return Control(ToQString(name));
}

}  // namespace linkcalc::windows
