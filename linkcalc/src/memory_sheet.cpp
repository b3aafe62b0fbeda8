#include "linkcalc/memory_sheet.h"

namespace linkcalc {

MemorySheet::MemorySheet() {
    const std::string zero(1, '0');
    texts_[Index(Field::TxtCblLss1)] = zero;
    texts_[Index(Field::TxtCblLoss2)] = zero;
    for (const Field label : {Field::Lblft1, Field::Lblft2, Field::Lblft3}) {
        texts_[Index(label)] = "ft";
    }
}

void MemorySheet::SetText(Field field, std::string_view text) {
    texts_[Index(field)].assign(LimitToField(field, text));
}

void MemorySheet::SetCaption(Field unitLabel, std::string_view caption) {
    texts_[Index(unitLabel)].assign(caption);
}

}  // namespace linkcalc
