#include "staged_sheet.h"

namespace linkcalc {

std::string StagedSheet::Text(Field field) const {
    const auto index = static_cast<std::size_t>(field);
    return isHeld_[index] ? held_[index] : base_.Text(field);
}

void StagedSheet::SetText(Field field, std::string_view text) {
    const auto index = static_cast<std::size_t>(field);
    held_[index].assign(LimitToField(field, text));
    isHeld_[index] = true;
}

void StagedSheet::SetCaption(Field unitLabel, std::string_view caption) {
    const auto index = static_cast<std::size_t>(unitLabel);
    held_[index].assign(caption);
    isHeld_[index] = true;
}

void StagedSheet::Commit() {
    for (const FieldInfo& info : kFields) {
        const auto index = static_cast<std::size_t>(info.field);
        if (!isHeld_[index]) continue;
        if (info.role == FieldRole::UnitLabel) {
            base_.SetCaption(info.field, held_[index]);
        } else {
            base_.SetText(info.field, held_[index]);
        }
    }
}

}  // namespace linkcalc
