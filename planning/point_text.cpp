#include "planning/point_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

namespace linkcalc::planning {
namespace {

// Integer parts this short are exact as doubles however they are added up, and decimals this
// few never underflow; no real coordinate needs more.
constexpr std::size_t kMaxIntegerDigits = 9;
constexpr std::size_t kMaxDecimals = 20;
// What a message shows of a text, so that a pasted page stays a line.
constexpr std::size_t kMaxShown = 64;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view Trimmed(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

struct CodePoint {
    char32_t value = 0;
    std::size_t length = 0;  // 0: not a UTF-8 sequence
};

CodePoint Utf8At(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned lead = byte(at);
    std::size_t length = 0;
    char32_t value = 0;
    char32_t least = 0;
    if (lead < 0x80) return {lead, 1};
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, value = lead & 0x1Fu, least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, value = lead & 0x0Fu, least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, value = lead & 0x07u, least = 0x10000;
    } else {
        return {};
    }
    if (at + length > text.size()) return {};
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0u) != 0x80) return {};
        value = (value << 6) | (byte(at + i) & 0x3Fu);
    }
    if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return {};
    return {value, length};
}

std::string Hex(unsigned value, int digits) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) {
        text += kDigits[(value >> static_cast<unsigned>(shift)) & 0xFu];
    }
    return text;
}

// A text as a message may hold it: control characters and bytes that are not UTF-8 as \xNN,
// a long text cut.
std::string Shown(std::string_view text) {
    std::string shown;
    std::size_t at = 0;
    while (at < text.size() && shown.size() < kMaxShown) {
        const CodePoint c = Utf8At(text, at);
        const bool plain = c.length == 1 ? c.value >= 0x20 && c.value != 0x7F
                                         : c.length > 1 && c.value >= 0xA0 && c.value != 0xFFFE &&
                                               c.value != 0xFFFF;
        if (plain) {
            shown.append(text.substr(at, c.length));
            at += c.length;
        } else {
            shown += "\\x" + Hex(static_cast<unsigned char>(text[at]), 2);
            ++at;
        }
    }
    if (at < text.size()) shown += "...";
    return shown;
}

std::string Quoted(std::string_view text) {
    return '"' + Shown(text) + '"';
}

// The character at `at`, named for a message.
std::string CharacterName(std::string_view text, std::size_t at) {
    const CodePoint c = Utf8At(text, at);
    if (c.length == 0) return "byte \\x" + Hex(static_cast<unsigned char>(text[at]), 2);
    if (c.length == 1 && c.value > 0x20 && c.value < 0x7F) return std::string(1, text[at]);
    if (c.value == 0x20) return "blank";
    return "U+" + Hex(static_cast<unsigned>(c.value), c.value > 0xFFFF ? 6 : 4);
}

// A part refused: the message names it and says why.
[[noreturn]] void Refuse(std::string_view text, PointError::Part part, const std::string& why) {
    const std::string name =
        part == PointError::Part::First ? "the first part " : "the second part ";
    throw PointError(name + Quoted(text) + ": " + why, part);
}

// The signs each stands for in what DMS decoding reads.
std::optional<char> AsciiSign(char32_t c) {
    switch (c) {
        case U'\u00B0':  // degree sign
        case U'\u00BA':  // masculine ordinal, as a degree sign
        case U'\u02DA':  // ring above, as a degree sign
            return 'd';
        case U'\u2032':  // prime
        case U'\u2019':  // right single quotation mark
        case U'\u00B4':  // acute accent
            return '\'';
        case U'\u2033':  // double prime
        case U'\u201D':  // right double quotation mark
            return '"';
        case U'\u2212':  // minus sign
            return '-';
        default:
            return std::nullopt;
    }
}

bool IsAsciiAccepted(char c) {
    switch (c) {
        case '.':
        case ':':
        case '\'':
        case '"':
        case '+':
        case '-':
        case 'd':
        case 'D':
        case 'n':
        case 'N':
        case 's':
        case 'S':
        case 'e':
        case 'E':
        case 'w':
        case 'W':
            return true;
        default:
            return IsDigit(c);
    }
}

// The part with each accepted sign as its ASCII letter and two minute marks as a second mark,
// in the order DMS decoding replaces them.
std::string AsciiOf(std::string_view text, PointError::Part part) {
    std::string ascii;
    for (std::size_t at = 0; at < text.size();) {
        const CodePoint c = Utf8At(text, at);
        if (c.length == 1 && IsAsciiAccepted(text[at])) {
            ascii += text[at];
        } else if (const auto sign = c.length > 1 ? AsciiSign(c.value) : std::nullopt) {
            ascii += *sign;
        } else if (IsBlank(text[at])) {
            Refuse(text, part,
                   "a blank inside an angle (one comma or one run of blanks "
                   "separates the latitude and the longitude)");
        } else {
            Refuse(text, part, "unexpected character " + CharacterName(text, at));
        }
        at += c.length;
    }
    for (std::size_t at = ascii.find("''"); at != std::string::npos; at = ascii.find("''", at)) {
        ascii.replace(at, 2, 1, '"');
    }
    return ascii;
}

bool IsNotFinite(std::string_view text) {
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) text.remove_prefix(1);
    std::string lower;
    for (const char c : text) lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return lower == "nan" || lower == "inf" || lower == "infinity";
}

// Which hemisphere letter, if any: S, N, W, E as DMS decoding orders them.
int HemisphereIndex(char c) {
    switch (c) {
        case 's':
        case 'S':
            return 0;
        case 'n':
        case 'N':
            return 1;
        case 'w':
        case 'W':
            return 2;
        case 'e':
        case 'E':
            return 3;
        default:
            return -1;
    }
}

struct Component {
    std::string_view number;  // digits, maybe with one decimal point between digits
    std::size_t integerDigits = 0;
    bool fraction = false;
    char mark = '\0';  // 'd', '\'', '"', ':' or none
};

const char* MarkName(char mark) {
    switch (mark) {
        case 'd':
            return "degrees";
        case '\'':
            return "minutes";
        case '"':
            return "seconds";
        default:
            return ":";
    }
}

char MarkOf(char c) {
    switch (c) {
        case 'd':
        case 'D':
            return 'd';
        case '\'':
        case '"':
        case ':':
            return c;
        default:
            return '\0';
    }
}

// The numbers and their marks, in the order written.
std::vector<Component> ComponentsOf(std::string_view body, std::string_view text,
                                    PointError::Part part) {
    std::vector<Component> components;
    std::size_t at = 0;
    while (at < body.size()) {
        Component component;
        const std::size_t begin = at;
        while (at < body.size() && IsDigit(body[at])) ++at;
        component.integerDigits = at - begin;
        if (at < body.size() && body[at] == '.') {
            component.fraction = true;
            ++at;
            const std::size_t decimals = at;
            while (at < body.size() && IsDigit(body[at])) ++at;
            if (component.integerDigits == 0 || at == decimals) {
                Refuse(text, part, "a decimal point needs digits on both sides");
            }
            if (at - decimals > kMaxDecimals) {
                Refuse(text, part, "more than " + std::to_string(kMaxDecimals) + " decimals");
            }
        }
        if (at == begin) {
            const char c = body[at];
            if (MarkOf(c) != '\0') {
                Refuse(text, part,
                       std::string("no number before the mark of ") + MarkName(MarkOf(c)));
            }
            if (c == '+' || c == '-') Refuse(text, part, "a sign inside an angle");
            if (HemisphereIndex(c) >= 0) {
                Refuse(text, part, "a hemisphere letter goes before or after the angle");
            }
            Refuse(text, part, "unexpected character " + std::string(1, c));
        }
        if (component.integerDigits > kMaxIntegerDigits) {
            Refuse(text, part,
                   "a number of more than " + std::to_string(kMaxIntegerDigits) +
                       " digits before the decimal point");
        }
        component.number = body.substr(begin, at - begin);
        if (at < body.size()) {
            const char c = body[at];
            component.mark = MarkOf(c);
            if (component.mark == '\0') {
                if (c == '.') Refuse(text, part, "two decimal points in a number");
                if (c == '+' || c == '-') Refuse(text, part, "a sign inside an angle");
                if (HemisphereIndex(c) >= 0) {
                    Refuse(text, part, "a hemisphere letter goes before or after the angle");
                }
                Refuse(text, part, "unexpected character " + std::string(1, c));
            }
            ++at;
        }
        components.push_back(component);
    }
    return components;
}

// The shapes accepted: D, D:M, D:M:S, Dd, DdM['], DdM'S["]; a fraction only in the last number.
void CheckShape(const std::vector<Component>& components, std::string_view text,
                PointError::Part part) {
    const std::size_t count = components.size();
    if (count > 3) Refuse(text, part, "more than three numbers (degrees, minutes, seconds)");
    bool colons = false;
    bool marks = false;
    for (const Component& c : components) {
        colons = colons || c.mark == ':';
        marks = marks || (c.mark != ':' && c.mark != '\0');
    }
    if (colons && marks) Refuse(text, part, "both : and marks of degrees, minutes or seconds");
    if (components.back().mark == ':') Refuse(text, part, "a : at the end");
    if (marks) {
        static constexpr char kOrder[] = {'d', '\'', '"'};
        for (std::size_t i = 0; i < count; ++i) {
            const char mark = components[i].mark;
            if (mark != kOrder[i] && !(mark == '\0' && i + 1 == count && i > 0)) {
                Refuse(text, part,
                       "the marks go degrees, minutes, seconds, each once, as in "
                       "40d26'46\"");
            }
        }
    }
    for (std::size_t i = 0; i + 1 < count; ++i) {
        if (components[i].fraction) {
            Refuse(text, part,
                   std::string("a decimal point in the ") + (i == 0 ? "degrees" : "minutes") +
                       ": only the last number may have one");
        }
    }
    for (std::size_t i = 1; i < count; ++i) {
        const Component& c = components[i];
        unsigned whole = 0;
        for (std::size_t d = 0; d < c.integerDigits; ++d) {
            whole = whole * 10 + static_cast<unsigned>(c.number[d] - '0');
        }
        if (whole >= 60) {
            Refuse(text, part,
                   std::string(i == 1 ? "minutes " : "seconds ") + std::string(c.number) +
                       " not in [0, 60)");
        }
    }
}

// A number as DMS decoding reads it: a whole number digit by digit, one with a decimal point
// by the C library's correctly rounded conversion, as std::from_chars is.
double NumberOf(const Component& component) {
    if (!component.fraction) {
        double value = 0;
        for (const char c : component.number) value = 10 * value + (c - '0');
        return value;
    }
    double value = 0;
    std::from_chars(component.number.data(), component.number.data() + component.number.size(),
                    value);
    return value;
}

}  // namespace

PointParts SplitPoint(std::string_view text) {
    std::vector<std::string_view> parts;
    if (text.find(',') != std::string_view::npos) {
        std::size_t begin = 0;
        for (;;) {
            const std::size_t comma = text.find(',', begin);
            parts.push_back(Trimmed(text.substr(begin, comma - begin)));
            if (comma == std::string_view::npos) break;
            begin = comma + 1;
        }
    } else {
        std::size_t i = 0;
        while (i < text.size()) {
            while (i < text.size() && IsBlank(text[i])) ++i;
            const std::size_t begin = i;
            while (i < text.size() && !IsBlank(text[i])) ++i;
            if (i > begin) parts.push_back(text.substr(begin, i - begin));
        }
    }
    if (parts.empty()) throw PointError("the point is empty: give a latitude and a longitude");
    if (parts.size() != 2) {
        throw PointError(Quoted(text) + " has " + std::to_string(parts.size()) +
                         (parts.size() == 1 ? " part" : " parts") +
                         ": a point is a latitude and a longitude, separated by a comma "
                         "or blanks");
    }
    return {std::string(parts[0]), std::string(parts[1])};
}

Angle ReadAngle(std::string_view text, PointError::Part part) {
    if (text.empty()) {
        throw PointError(std::string(part == PointError::Part::First ? "the first" : "the second") +
                             " part is empty",
                         part);
    }
    if (IsNotFinite(text)) {
        throw PointError(
            std::string(part == PointError::Part::First ? "the first part " : "the second part ") +
                Quoted(text) + " is not a finite angle",
            part);
    }
    const std::string ascii = AsciiOf(text, part);
    std::string_view body = ascii;
    int hemisphere = -1;
    if (!body.empty() && HemisphereIndex(body.front()) >= 0) {
        hemisphere = HemisphereIndex(body.front());
        body.remove_prefix(1);
    }
    if (!body.empty() && HemisphereIndex(body.back()) >= 0) {
        if (hemisphere >= 0) Refuse(text, part, "two hemisphere letters");
        hemisphere = HemisphereIndex(body.back());
        body.remove_suffix(1);
    }
    int sign = 1;
    if (!body.empty() && (body.front() == '+' || body.front() == '-')) {
        if (hemisphere >= 0) Refuse(text, part, "a sign and a hemisphere letter together");
        sign = body.front() == '-' ? -1 : 1;
        body.remove_prefix(1);
    }
    if (body.empty()) Refuse(text, part, "no number");
    const std::vector<Component> components = ComponentsOf(body, text, part);
    CheckShape(components, text, part);

    double pieces[3] = {0, 0, 0};
    for (std::size_t i = 0; i < components.size(); ++i) pieces[i] = NumberOf(components[i]);
    // The sum DMS decoding makes, so that the result is the same to the bit.
    const double value = pieces[2] != 0   ? (60 * (60 * pieces[0] + pieces[1]) + pieces[2]) / 3600
                         : pieces[1] != 0 ? (60 * pieces[0] + pieces[1]) / 60
                                          : pieces[0];
    Angle angle;
    if (hemisphere >= 0) {
        sign = hemisphere % 2 == 1 ? 1 : -1;
        angle.hemisphere = hemisphere / 2 == 1 ? Hemisphere::Longitude : Hemisphere::Latitude;
    }
    angle.degrees = sign * value;
    return angle;
}

GeoPoint PointOf(std::string_view text, const PointParts& parts, Angle first, Angle second) {
    Hemisphere a = first.hemisphere;
    Hemisphere b = second.hemisphere;
    if (a == Hemisphere::None && b == Hemisphere::None) {
        a = Hemisphere::Latitude;
        b = Hemisphere::Longitude;
    } else if (a == Hemisphere::None) {
        a = b == Hemisphere::Latitude ? Hemisphere::Longitude : Hemisphere::Latitude;
    } else if (b == Hemisphere::None) {
        b = a == Hemisphere::Latitude ? Hemisphere::Longitude : Hemisphere::Latitude;
    }
    if (a == b) {
        throw PointError(Quoted(text) + ": Both " + Shown(parts.first) + " and " +
                         Shown(parts.second) + " interpreted as " +
                         (a == Hemisphere::Latitude ? "latitudes" : "longitudes"));
    }
    const bool latitudeFirst = a == Hemisphere::Latitude;
    GeoPoint point;
    point.lat = latitudeFirst ? first.degrees : second.degrees;
    point.lon = latitudeFirst ? second.degrees : first.degrees;
    if (std::fabs(point.lat) > 90) {
        throw PointError(Quoted(text) + ": Latitude " +
                         Shown(latitudeFirst ? parts.first : parts.second) + " not in [-90d, 90d]");
    }
    // Any longitude reads; one past a turn and a half is a slip of the hand.
    if (std::fabs(point.lon) > 540) {
        throw PointError(Quoted(text) + ": longitude " +
                         Shown(latitudeFirst ? parts.second : parts.first) +
                         " not in [-540d, 540d]");
    }
    return point;
}

GeoPoint ReadPoint(std::string_view text) {
    const PointParts parts = SplitPoint(text);
    const Angle first = ReadAngle(parts.first, PointError::Part::First);
    const Angle second = ReadAngle(parts.second, PointError::Part::Second);
    return PointOf(text, parts, first, second);
}

}  // namespace linkcalc::planning
