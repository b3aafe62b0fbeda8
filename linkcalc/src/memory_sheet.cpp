#include "linkcalc/memory_sheet.h"

namespace linkcalc {

MemorySheet::MemorySheet() {
    Reset();
}

void MemorySheet::Reset() {
    for (std::string& text : texts_) text.clear();
    texts_[Index(Field::TxtCblLss1)] = '0';
    texts_[Index(Field::TxtCblLoss2)] = '0';
    for (const Field label : {Field::Lblft1, Field::Lblft2, Field::Lblft3}) {
        texts_[Index(label)] = "ft";
    }
    focus_.reset();
    selection_.reset();
    notices_.clear();
}

void MemorySheet::SetText(Field field, std::string_view text) {
    texts_[Index(field)].assign(LimitToField(field, text));
}

void MemorySheet::SetCaption(Field unitLabel, std::string_view caption) {
    texts_[Index(unitLabel)].assign(caption);
}

}  // namespace linkcalc
