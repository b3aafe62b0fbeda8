#pragma once

#include <QWidget>
#include <span>
#include <string_view>

#include "windows/control_builder.h"

namespace linkcalc::windows {

// A window the main window opens beside itself: built from its tables, with no owner window,
// and destroyed once closed.
class SecondaryWindow : public QWidget {
    Q_OBJECT

  public:
    QWidget* Control(const QString& name) const { return controls_.value(name); }

  protected:
    // `focus` holds the keyboard focus when the window is shown; `closeButton` closes it.
    SecondaryWindow(const WindowRow& row, std::span<const ControlRow> table, std::string_view focus,
                    std::string_view closeButton, const SnapshotMaker& snapshots = {});

    QWidget* ControlNamed(std::string_view name) const;

  private:
    ControlMap controls_;
};

}  // namespace linkcalc::windows
