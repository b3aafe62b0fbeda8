#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "linkcalc/calc_sheet.h"

namespace linkcalc {

// A calculation sheet held in memory, as the main window shows it when it opens: both cable
// losses "0", the unit labels "ft", everything else empty.
class MemorySheet final : public CalcSheet {
  public:
    struct Selection {
        Field field;
        int start;
        int length;
    };

    MemorySheet();

    std::string Text(Field field) const override { return texts_[Index(field)]; }
    void SetText(Field field, std::string_view text) override;
    void SetCaption(Field unitLabel, std::string_view caption) override;
    void SetFocus(Field field) override { focus_ = field; }
    void Select(Field field, int start, int length) override {
        selection_ = Selection{field, start, length};
    }
    void ShowNotice(const Notice& notice) override { notices_.push_back(notice); }

    const std::string& TextRef(Field field) const { return texts_[Index(field)]; }
    std::optional<Field> Focus() const { return focus_; }
    std::optional<Selection> LastSelection() const { return selection_; }
    const std::vector<Notice>& Notices() const { return notices_; }

  private:
    static std::size_t Index(Field field) { return static_cast<std::size_t>(field); }

    std::array<std::string, kFieldCount> texts_;
    std::optional<Field> focus_;
    std::optional<Selection> selection_;
    std::vector<Notice> notices_;
};

}  // namespace linkcalc
