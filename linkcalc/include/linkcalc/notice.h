#pragma once

#include <string_view>

#include "linkcalc/field.h"

namespace linkcalc {

inline constexpr std::string_view kApplicationTitle = "ZIDORER";

// A modal message with one OK button; afterwards the focus moves to `focus`.
struct Notice {
    std::string_view message;  // one line, or two joined by "\r\n"
    std::string_view title;    // empty: the application title is shown
    Field focus;
    bool selectAll = false;  // select the focus field's whole text before focusing it

    constexpr std::string_view ShownTitle() const {
        return title.empty() ? kApplicationTitle : title;
    }
};

}  // namespace linkcalc
