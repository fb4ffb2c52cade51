#include "Code/SPX_Files_xml.h"

#include <cstdint>

#include "Code/SPX_Utf8.h"

namespace spectrel::xmltext {
namespace {

constexpr char32_t kMaxCodePoint = 0x10FFFF;

// Characters of XML 1.0 (the Char production), with line breaks counted out: they are handled by the callers.
bool IsXmlChar(char32_t c) {
    if (c == 0x09 || c == 0x0A || c == 0x0D) return true;
    if (c < 0x20) return false;
    if (c >= 0xD800 && c <= 0xDFFF) return false;
    if (c == 0xFFFE || c == 0xFFFF) return false;
    return c <= kMaxCodePoint;
}

// Decodes one UTF-8 sequence at `pos`; returns its length, or 0 when the bytes there are not a valid sequence
// (overlong forms, surrogates and values beyond U+10FFFF are not valid).
std::size_t DecodeUtf8(std::string_view text, std::size_t pos, char32_t& c) {
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
    const std::uint8_t b0 = byte(pos);
    std::size_t length = 0;
    char32_t minimum = 0;
    if (b0 < 0x80) {
        c = b0;
        return 1;
    } else if ((b0 & 0xE0) == 0xC0) {
        length = 2;
        c = b0 & 0x1F;
        minimum = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        length = 3;
        c = b0 & 0x0F;
        minimum = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        length = 4;
        c = b0 & 0x07;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (pos + length > text.size()) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const std::uint8_t b = byte(pos + i);
        if ((b & 0xC0) != 0x80) return 0;
        c = (c << 6) | (b & 0x3F);
    }
    if (c < minimum || c > kMaxCodePoint || (c >= 0xD800 && c <= 0xDFFF)) return 0;
    return length;
}

void AppendMended(std::string& out, char32_t c) {
    if (c == 0x0A || c == 0x0D) {
        out += ' ';
    } else if (IsXmlChar(c)) {
        AppendUtf8(out, c);
    }
}

void AppendEscaped(std::string& out, char32_t c) {
    switch (c) {
        case '"':
            out += "&quot;";
            break;
        case '&':
            out += "&amp;";
            break;
        case '\'':
            out += "&apos;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        default:
            AppendMended(out, c);
            break;
    }
}

}  // namespace

std::string TrimText(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && static_cast<std::uint8_t>(text[begin]) <= ' ') ++begin;
    while (end > begin && static_cast<std::uint8_t>(text[end - 1]) <= ' ') --end;
    return std::string(text.substr(begin, end - begin));
}

std::string MendUserText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        char32_t c = 0;
        std::size_t length = DecodeUtf8(text, pos, c);
        if (length == 0) {
            // A stray byte: the Latin-1 character of its value.
            c = static_cast<std::uint8_t>(text[pos]);
            length = 1;
        }
        AppendMended(out, c);
        pos += length;
    }
    return out;
}

std::string EscapeText(std::string_view text) {
    const std::string mended = MendUserText(text);
    std::string out;
    out.reserve(mended.size());
    // The mended text is valid UTF-8, and the five escaped characters are single bytes that never occur inside a
    // multi-byte sequence, so a byte-wise pass is enough here.
    for (char ch : mended) {
        const auto c = static_cast<std::uint8_t>(ch);
        if (c < 0x80) {
            AppendEscaped(out, c);
        } else {
            out += ch;
        }
    }
    return out;
}

std::string EncodeCode(std::string_view code) {
    std::string out;
    out.reserve(code.size());
    for (char ch : code) AppendEscaped(out, static_cast<std::uint8_t>(ch));
    return out;
}

std::string CommentText(std::string_view text) {
    const std::string mended = MendUserText(text);
    std::string out;
    out.reserve(mended.size());
    for (std::size_t i = 0; i < mended.size(); ++i) {
        out += mended[i];
        if (mended[i] == '-' && i + 1 < mended.size() && mended[i + 1] == '-') out += ' ';
    }
    return out;
}

}  // namespace spectrel::xmltext
