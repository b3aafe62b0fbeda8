#include "staged_sheet.h"

#include <algorithm>

namespace linkcalc {

void StagedSheet::Hold(std::size_t index, std::string_view text) {
    HeldText& held = held_[index];
    held.size = static_cast<std::uint32_t>(std::min<std::size_t>(text.size(), UINT32_MAX));
    if (text.size() <= sizeof held.inPlace) {
        std::copy(text.begin(), text.end(), held.inPlace);
    } else {
        if (!longTexts_) longTexts_ = std::make_unique<std::array<std::string, kFieldCount>>();
        (*longTexts_)[index].assign(text);
    }
    isHeld_[index] = true;
}

std::string_view StagedSheet::Held(std::size_t index) const {
    const HeldText& held = held_[index];
    if (held.size <= sizeof held.inPlace) return {held.inPlace, held.size};
    return (*longTexts_)[index];
}

std::string StagedSheet::Text(Field field) const {
    const std::size_t index = Index(field);
    return isHeld_[index] ? std::string(Held(index)) : base_.Text(field);
}

std::string_view StagedSheet::View(Field field) const {
    const std::size_t index = Index(field);
    if (isHeld_[index]) return Held(index);
    readThrough_ = base_.Text(field);
    return readThrough_;
}

void StagedSheet::SetText(Field field, std::string_view text) {
    Hold(Index(field), LimitToField(field, text));
}

void StagedSheet::SetCaption(Field unitLabel, std::string_view caption) {
    Hold(Index(unitLabel), caption);
}

void StagedSheet::Commit() {
    for (const FieldInfo& info : kFields) {
        const std::size_t index = Index(info.field);
        if (!isHeld_[index]) continue;
        if (info.role == FieldRole::UnitLabel) {
            base_.SetCaption(info.field, Held(index));
        } else {
            base_.SetText(info.field, Held(index));
        }
    }
}

}  // namespace linkcalc
