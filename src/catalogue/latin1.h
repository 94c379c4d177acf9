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

// Bytes of unknown kind (a file's name) made safe to show: well-formed UTF-8 as it is, and every
// control character and every byte that is no UTF-8 written as \xNN, so that nothing is lost or
// acts on the terminal or the title.
std::string escapedForDisplay(std::string_view bytes);

// Text from a file of unknown encoding: UTF-8 where it is well-formed throughout, else Latin-1,
// which every byte is, and which the German files of older programs were written in.
std::string utf8OrLatin1(std::string_view bytes);

} // namespace kesmora
