// The catalogue's texts are Latin-1 (ISO 8859-1) bytes; messages, command lines and the test
// sources are UTF-8. Every conversion between the two goes through here.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kesmora {

std::string latin1ToUtf8(std::string_view latin1);

// Characters beyond Latin-1, and bytes that are no well-formed UTF-8, become '?' each.
std::string utf8ToLatin1(std::string_view utf8);

// Length of the well-formed UTF-8 sequence of two to four bytes at `at` (no overlong forms, no
// surrogates, nothing beyond U+10FFFF), 0 when there is none.
std::size_t utf8SequenceAt(std::string_view s, std::size_t at);

} // namespace kesmora
