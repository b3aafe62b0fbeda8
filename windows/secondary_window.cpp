#include "windows/secondary_window.h"

#include <QPushButton>

namespace linkcalc::windows {

SecondaryWindow::SecondaryWindow(const WindowSpec& row, std::span<const ControlSpec> table,
                                 std::string_view focus, std::string_view closeButton,
                                 const SnapshotMaker& snapshots)
    : QWidget(nullptr) {
    setAttribute(Qt::WA_DeleteOnClose);
    ApplyWindowSpec(*this, row);
    controls_ = BuildControls(*this, table, snapshots);
    connect(qobject_cast<QPushButton*>(ControlNamed(closeButton)), &QPushButton::clicked, this,
            &QWidget::close);
    ControlNamed(focus)->setFocus();
}

QWidget* SecondaryWindow::ControlNamed(std::string_view name) const {
    return Control(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
}

}  // namespace linkcalc::windows
