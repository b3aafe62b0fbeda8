#pragma once

#include <string>
#include <string_view>

// Texts from the inputs as a document may hold them. KML and SVG are XML 1.0, and the PDF's
// texts and the picture's glyphs come from UTF-8 too: a control character or a stray byte
// copied raw makes a file that does not parse, or a glyph that shows nothing. Free of the
// core's headers, so that the modules can use it too.
namespace linkcalc::planning {

// The bytes are UTF-8 of characters XML 1.0 allows: tab, line feed, carriage return, U+0020 to
// U+D7FF, U+E000 to U+FFFD and U+10000 to U+10FFFF.
bool IsXmlText(std::string_view bytes);

// Any bytes as text that XML 1.0 allows, the same bytes when they already are. Every byte that
// is not part of an allowed character is shown as \xHH (two upper-case hexadecimal digits), as
// a shell's $'...' writes it: a C0 control other than tab, line feed and carriage return ("\x01",
// ESC "\x1B", NUL "\x00"), each byte of U+FFFE and U+FFFF ("\xEF\xBF\xBE"), each byte of a
// surrogate or an overlong form, and each byte that is not UTF-8. A backslash stays itself.
std::string XmlText(std::string_view bytes);

}  // namespace linkcalc::planning
