#pragma once

#include <string>
#include <string_view>

#include "linkcalc/field.h"
#include "linkcalc/notice.h"

namespace linkcalc {

// The named text fields a calculation run reads and writes. The main window
// implements it over its widgets; MemorySheet holds the fields in memory.
class CalcSheet {
  public:
    virtual ~CalcSheet() = default;

    // Text of a field; for a choice, its chosen item or typed text; for a unit label, its caption.
    virtual std::string Text(Field field) const = 0;
    // Sets a text field; a field with a length limit keeps only its first characters.
    virtual void SetText(Field field, std::string_view text) = 0;
    virtual void SetCaption(Field unitLabel, std::string_view caption) = 0;
    virtual void SetFocus(Field field) = 0;
    // Start 0 is before the first character; start and length count UTF-16 code units.
    virtual void Select(Field field, int start, int length) = 0;
    // Shows the message and returns once the user has closed it.
    virtual void ShowNotice(const Notice& notice) = 0;
};

}  // namespace linkcalc
