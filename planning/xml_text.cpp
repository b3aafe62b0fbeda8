#include "planning/xml_text.h"

namespace linkcalc::planning {
namespace {

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The length of the character XML allows at `at`, or 0 when the byte there starts none.
std::size_t AllowedAt(std::string_view bytes, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[at + i]); };
    const std::size_t left = bytes.size() - at;
    const unsigned char lead = byte(0);
    if (lead < 0x80) return lead >= 0x20 || lead == '\t' || lead == '\n' || lead == '\r' ? 1 : 0;
    // The second byte's range rules out overlong forms, surrogates and code points beyond
    // U+10FFFF.
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    std::size_t length = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (left < length || byte(1) < low || byte(1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if (!IsContinuation(byte(i))) return 0;
    }
    // U+FFFE and U+FFFF are the only characters of valid UTF-8 above U+001F that XML forbids.
    if (lead == 0xEF && byte(1) == 0xBF && (byte(2) == 0xBE || byte(2) == 0xBF)) return 0;
    return length;
}

void AppendShown(std::string& out, unsigned char byte) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    out += "\\x";
    out += kDigits[byte >> 4];
    out += kDigits[byte & 0x0F];
}

}  // namespace

bool IsXmlText(std::string_view bytes) {
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t length = AllowedAt(bytes, at);
        if (length == 0) return false;
        at += length;
    }
    return true;
}

std::string XmlText(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t length = AllowedAt(bytes, at);
        if (length != 0) {
            out.append(bytes, at, length);
            at += length;
            continue;
        }
        // One byte at a time: the bytes after it are read afresh, so the rest of U+FFFE, or of
        // a cut character, is shown too, and a whole character after a stray byte is kept.
        AppendShown(out, static_cast<unsigned char>(bytes[at]));
        ++at;
    }
    return out;
}

}  // namespace linkcalc::planning
