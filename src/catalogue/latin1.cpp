// Latin-1 and UTF-8, by hand: the catalogue layer is plain C++.
#include "latin1.h"

#include <algorithm>

namespace kesmora {

std::string latin1ToUtf8(std::string_view latin1) {
    std::string out;
    out.reserve(latin1.size());
    for (unsigned char c : latin1) {
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

std::string utf8ToLatin1(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
            continue;
        }
        const std::size_t length = utf8SequenceAt(utf8, i);
        if (length == 2 && c <= 0xC3) // U+0080 .. U+00FF
            out.push_back(
                static_cast<char>(((c & 0x1F) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3F)));
        else
            out.push_back('?');
        if (length > 0) i += length - 1;
    }
    return out;
}

std::size_t utf8SequenceAt(std::string_view s, std::size_t at) {
    const auto byte = [&](std::size_t i) {
        return at + i < s.size() ? static_cast<unsigned char>(s[at + i]) : 0u;
    };
    const unsigned lead = byte(0);
    std::size_t length = 0;
    unsigned low = 0x80, high = 0xBF; // allowed range of the second byte
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
    if (byte(1) < low || byte(1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
    return length;
}

namespace {

// The length of the character at `at`: 1 for ASCII, the sequence's for UTF-8, 0 for a stray byte.
std::size_t characterAt(std::string_view s, std::size_t at) {
    return static_cast<unsigned char>(s[at]) < 0x80 ? 1 : utf8SequenceAt(s, at);
}

} // namespace

std::string escapedForDisplay(std::string_view bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = characterAt(bytes, i);
        const auto lead = static_cast<unsigned char>(bytes[i]);
        // C0, DEL, and C1 (U+0080 .. U+009F, written C2 80 .. C2 9F).
        const bool control = lead < 0x20 || lead == 0x7F ||
                             (length == 2 && lead == 0xC2 && static_cast<unsigned char>(bytes[i + 1]) < 0xA0);
        if (length > 0 && !control) {
            out.append(bytes.substr(i, length));
            i += length;
            continue;
        }
        for (std::size_t k = 0; k < std::max<std::size_t>(length, 1); ++k) {
            const auto b = static_cast<unsigned char>(bytes[i + k]);
            out += "\\x";
            out += kHex[b >> 4];
            out += kHex[b & 0xF];
        }
        i += std::max<std::size_t>(length, 1);
    }
    return out;
}

std::string utf8OrLatin1(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = characterAt(bytes, i);
        if (length == 0) return latin1ToUtf8(bytes);
        i += length;
    }
    return std::string(bytes);
}

} // namespace kesmora
