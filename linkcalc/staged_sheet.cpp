#include "linkcalc/staged_sheet.h"

namespace linkcalc {

std::string StagedSheet::Text(Field field) const {
    const auto& held = held_[static_cast<std::size_t>(field)];
    return held ? *held : base_.Text(field);
}

void StagedSheet::SetText(Field field, std::string_view text) {
    held_[static_cast<std::size_t>(field)] = std::string(LimitToField(field, text));
}

void StagedSheet::SetCaption(Field unitLabel, std::string_view caption) {
    held_[static_cast<std::size_t>(unitLabel)] = std::string(caption);
}

void StagedSheet::Commit() {
    for (const FieldInfo& info : kFields) {
        const auto& held = held_[static_cast<std::size_t>(info.field)];
        if (!held) continue;
        if (info.role == FieldRole::UnitLabel) {
            base_.SetCaption(info.field, *held);
        } else {
            base_.SetText(info.field, *held);
        }
    }
}

}  // namespace linkcalc
