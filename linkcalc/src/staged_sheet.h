#pragma once

#include <array>
#include <bitset>
#include <string>

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

    // Writes the held texts to the sheet underneath, in field order.
    void Commit();

  private:
    CalcSheet& base_;
    std::array<std::string, kFieldCount> held_;
    std::bitset<kFieldCount> isHeld_;
};

}  // namespace linkcalc
