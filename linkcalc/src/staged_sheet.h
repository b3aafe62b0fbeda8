#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "internal_header.h"
#include "linkcalc/calc_sheet.h"

namespace linkcalc {

// Holds a run's writes over a sheet until the run has completed, so that a failed run leaves the
// sheet as it was. Reads see the held writes.
class StagedSheet final : public CalcSheet {
  public:
    explicit StagedSheet(CalcSheet& base) : base_(base) {}

    std::string Text(Field field) const override;
    void SetText(Field field, std::string_view text) override;
    void SetCaption(Field unitLabel, std::string_view caption) override;
    void SetFocus(Field field) override { base_.SetFocus(field); }
    void Select(Field field, int start, int length) override { base_.Select(field, start, length); }
    void ShowNotice(const Notice& notice) override { base_.ShowNotice(notice); }

    // The text of a field without a copy, valid until the field is written again. A field that
    // is not held reads through into one buffer, which the next such view reuses.
    std::string_view View(Field field) const;

    // Writes the held texts to the sheet underneath, in field order.
    void Commit();

  private:
    // A run writes short texts: they stay in place, without an allocation.
    struct HeldText {
        std::uint32_t size;
        char inPlace[28];
    };

    static std::size_t Index(Field field) { return static_cast<std::size_t>(field); }
    void Hold(std::size_t index, std::string_view text);
    std::string_view Held(std::size_t index) const;

    CalcSheet& base_;
    std::bitset<kFieldCount> isHeld_;
    std::array<HeldText, kFieldCount> held_;  // read only where isHeld_
    std::unique_ptr<std::array<std::string, kFieldCount>> longTexts_;
    mutable std::string readThrough_;
};

}  // namespace linkcalc
