#include "linkcalc/field.h"

namespace linkcalc {

std::optional<Field> FieldNamed(std::string_view name) {
    for (const FieldInfo& info : kFields) {
        if (info.name == name) return info.field;
    }
    return std::nullopt;
}

std::string_view LimitToField(Field field, std::string_view text) {
    const std::size_t limit = InfoOf(field).maxLength;
    if (limit == 0) return text;
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const bool continuation = (byte & 0xC0U) == 0x80U;
        if (!continuation && characters++ == limit) return text.substr(0, i);
    }
    return text;
}

}  // namespace linkcalc
