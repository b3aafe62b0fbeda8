// Texts from the inputs made valid in XML: every character XML 1.0 allows is kept, every other
// byte shown as \xHH; over a table of the faults, every code point, and random bytes.
#include "planning/xml_text.h"

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace linkcalc::planning {
namespace {

using namespace std::string_literals;

std::string Hex(const std::string& bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        out += "\\x";
        out += kDigits[byte >> 4];
        out += kDigits[byte & 0x0F];
    }
    return out;
}

// UTF-8 of any code point, surrogates too, as a careless encoder writes them.
std::string Encoded(std::uint32_t cp) {
    std::string out;
    const auto put = [&](std::uint32_t bits) { out += static_cast<char>(bits); };
    if (cp < 0x80) {
        put(cp);
    } else if (cp < 0x800) {
        put(0xC0 | (cp >> 6));
        put(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        put(0xE0 | (cp >> 12));
        put(0x80 | ((cp >> 6) & 0x3F));
        put(0x80 | (cp & 0x3F));
    } else {
        put(0xF0 | (cp >> 18));
        put(0x80 | ((cp >> 12) & 0x3F));
        put(0x80 | ((cp >> 6) & 0x3F));
        put(0x80 | (cp & 0x3F));
    }
    return out;
}

// XML 1.0's Char production.
bool XmlAllows(std::uint32_t cp) {
    return cp == 0x9 || cp == 0xA || cp == 0xD || (cp >= 0x20 && cp <= 0xD7FF) ||
           (cp >= 0xE000 && cp <= 0xFFFD) || (cp >= 0x10000 && cp <= 0x10FFFF);
}

TEST(XmlText, TheFaultsOfTheInputsAreShownAndTheRestKept) {
    struct Case {
        std::string bytes;
        std::string text;
    };
    const std::vector<Case> cases{
        {"", ""},
        {"Miles", "Miles"},
        {"tab\tline\ncr\r", "tab\tline\ncr\r"},
        {"Miles\x01", "Miles\\x01"},
        {"a\0b"s, "a\\x00b"},
        {"\x1B[31mred", "\\x1B[31mred"},
        {"\x1F \x7F", "\\x1F \x7F"},               // DEL is a character XML allows
        {"\xC2\x80\xC2\x9F", "\xC2\x80\xC2\x9F"},  // and so are the C1 controls
        {"caf\xC3\xA9 \xE2\x82\xAC", "caf\xC3\xA9 \xE2\x82\xAC"},
        {"\xEF\xBF\xBD", "\xEF\xBF\xBD"},         // U+FFFD
        {"x\xEF\xBF\xBEy", "x\\xEF\\xBF\\xBEy"},  // U+FFFE
        {"\xEF\xBF\xBF", "\\xEF\\xBF\\xBF"},      // U+FFFF
        {"\xED\x9F\xBF", "\xED\x9F\xBF"},         // U+D7FF
        {"\xED\xA0\x80", "\\xED\\xA0\\x80"},      // a surrogate
        {"\xED\xBF\xBF", "\\xED\\xBF\\xBF"},
        {"\xEE\x80\x80", "\xEE\x80\x80"},              // U+E000
        {"\xF0\x90\x80\x80", "\xF0\x90\x80\x80"},      // U+10000
        {"\xF4\x8F\xBF\xBF", "\xF4\x8F\xBF\xBF"},      // U+10FFFF
        {"\xF4\x90\x80\x80", "\\xF4\\x90\\x80\\x80"},  // beyond U+10FFFF
        {"\xC0\x80", "\\xC0\\x80"},                    // overlong forms
        {"\xC1\xBF", "\\xC1\\xBF"},
        {"\xE0\x80\xAF", "\\xE0\\x80\\xAF"},
        {"\xF0\x80\x80\xAF", "\\xF0\\x80\\x80\\xAF"},
        {"\x80", "\\x80"},  // a lone continuation
        {"\xE2\x82"
         "A",
         "\\xE2\\x82A"},  // a cut character, then one
        {"\xE2\xE2\x82\xAC", "\\xE2\xE2\x82\xAC"},
        {"\xF5\xFE\xFF", "\\xF5\\xFE\\xFF"},
        {"end\xC3", "end\\xC3"},
        {"\\x01", "\\x01"},    // a backslash stays itself
        {"<&>\"'", "<&>\"'"},  // escaping is the writer's
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Hex(c.bytes));
        EXPECT_EQ(XmlText(c.bytes), c.text);
        EXPECT_EQ(IsXmlText(c.bytes), c.bytes == c.text);
        EXPECT_TRUE(IsXmlText(c.text));
    }
}

TEST(XmlText, EveryCodePointIsKeptOrShownByItsBytes) {
    for (std::uint32_t cp = 0; cp <= 0x10FFFF; ++cp) {
        // Built by appending: g++ 12 warns wrongly of an overlap in "<" + text.
        const bool allowed = XmlAllows(cp);
        std::string bytes(1, '<');
        bytes += Encoded(cp);
        bytes += '>';
        std::string expected(1, '<');
        expected += allowed ? Encoded(cp) : Hex(Encoded(cp));
        expected += '>';
        if (XmlText(bytes) != expected || IsXmlText(bytes) != allowed) {
            ADD_FAILURE() << "U+" << std::hex << cp << ": " << XmlText(bytes);
            break;
        }
    }
}

TEST(XmlText, AnyBytesBecomeXmlTextThatStaysAsItIs) {
    // Bytes drawn mostly from the edges of the UTF-8 ranges.
    const std::vector<unsigned char> alphabet{
        0x00, 0x01, 0x09, 0x0A, 0x0D, 0x1B, 0x1F, 0x20, 'a',  '\\', 0x7F, 0x80, 0x8F, 0x90,
        0x9F, 0xA0, 0xBE, 0xBF, 0xC0, 0xC2, 0xDF, 0xE0, 0xED, 0xEF, 0xF0, 0xF4, 0xF5, 0xFF};
    std::mt19937 random(17);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(0, 12);
    for (int i = 0; i < 200000; ++i) {
        std::string bytes;
        for (int n = length(random); n > 0; --n) bytes += static_cast<char>(alphabet[pick(random)]);
        const std::string text = XmlText(bytes);
        if (!IsXmlText(text) || XmlText(text) != text || (IsXmlText(bytes) && text != bytes)) {
            ADD_FAILURE() << Hex(bytes) << " gives " << Hex(text);
            break;
        }
    }
}

}  // namespace
}  // namespace linkcalc::planning
