#pragma once
// A small, strict well-formedness check of an XML 1.0 document in UTF-8, for the core tests (which link no XML
// library). It checks what our documents can get wrong: the UTF-8 form, the characters XML allows, the prolog,
// nesting and matching of tags, character data ("<", "&", "]]>"), references (only the five predefined entities and
// character references) and comments ("--" inside, "-" at the end). Attribute values are checked loosely.
// Returns an empty text for a well-formed document, otherwise what is wrong and where.

#include <cctype>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace spectrel::testing {

class XmlWellFormedCheck {
public:
    static std::string Check(std::string_view doc) {
        XmlWellFormedCheck c(doc);
        return c.run();
    }

private:
    explicit XmlWellFormedCheck(std::string_view doc) : d_(doc) {}

    std::string run() {
        if (std::string e = checkCharacters(); !e.empty()) return e;
        if (starts("<?xml ")) {
            const auto end = d_.find("?>");
            if (end == std::string_view::npos) return fail("unterminated XML declaration");
            const std::string_view decl = d_.substr(0, end);
            if (decl.find("version=\"1.0\"") == std::string_view::npos) return fail("XML declaration without version");
            p_ = end + 2;
        }
        if (std::string e = misc(); !e.empty()) return e;
        if (starts("<!DOCTYPE")) {
            if (std::string e = doctype(); !e.empty()) return e;
            if (std::string e = misc(); !e.empty()) return e;
        }
        if (!starts("<")) return fail("no root element");
        if (std::string e = element(); !e.empty()) return e;
        if (std::string e = misc(); !e.empty()) return e;
        if (p_ != d_.size()) return fail("content after the root element");
        return {};
    }

    std::string fail(const std::string& what) const {
        std::size_t line = 1;
        for (std::size_t i = 0; i < p_ && i < d_.size(); ++i)
            if (d_[i] == '\n') ++line;
        return what + " (line " + std::to_string(line) + ", offset " + std::to_string(p_) + ")";
    }

    bool starts(std::string_view s) const { return d_.substr(p_, s.size()) == s; }
    bool atEnd() const { return p_ >= d_.size(); }
    static bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
    void skipSpace() {
        while (!atEnd() && isSpace(d_[p_])) ++p_;
    }
    static bool isNameStart(char c) {
        const auto u = static_cast<std::uint8_t>(c);
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':' || u >= 0x80;
    }
    static bool isNameChar(char c) { return isNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.'; }

    std::string name(std::string& out) {
        if (atEnd() || !isNameStart(d_[p_])) return fail("name expected");
        const std::size_t b = p_;
        while (!atEnd() && isNameChar(d_[p_])) ++p_;
        out = std::string(d_.substr(b, p_ - b));
        return {};
    }

    // Valid UTF-8 throughout, and only the characters of the Char production.
    std::string checkCharacters() {
        for (p_ = 0; p_ < d_.size();) {
            const auto b0 = static_cast<std::uint8_t>(d_[p_]);
            std::size_t n = 0;
            char32_t c = 0;
            char32_t minimum = 0;
            if (b0 < 0x80) {
                n = 1;
                c = b0;
            } else if ((b0 & 0xE0) == 0xC0) {
                n = 2;
                c = b0 & 0x1F;
                minimum = 0x80;
            } else if ((b0 & 0xF0) == 0xE0) {
                n = 3;
                c = b0 & 0x0F;
                minimum = 0x800;
            } else if ((b0 & 0xF8) == 0xF0) {
                n = 4;
                c = b0 & 0x07;
                minimum = 0x10000;
            } else {
                return fail("invalid UTF-8 lead byte");
            }
            if (p_ + n > d_.size()) return fail("truncated UTF-8 sequence");
            for (std::size_t i = 1; i < n; ++i) {
                const auto b = static_cast<std::uint8_t>(d_[p_ + i]);
                if ((b & 0xC0) != 0x80) return fail("invalid UTF-8 continuation byte");
                c = (c << 6) | (b & 0x3F);
            }
            if (c < minimum) return fail("overlong UTF-8 sequence");
            const bool ok = c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
                            (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
            if (!ok) return fail("character not allowed in XML");
            p_ += n;
        }
        p_ = 0;
        return {};
    }

    std::string comment() {
        p_ += 4;  // "<!--"
        const auto end = d_.find("--", p_);
        if (end == std::string_view::npos) return fail("unterminated comment");
        p_ = end;
        if (!starts("-->")) return fail("\"--\" inside a comment");
        p_ += 3;
        return {};
    }

    std::string pi() {
        p_ += 2;
        std::string target;
        if (std::string e = name(target); !e.empty()) return e;
        std::string lower;
        for (char c : target) lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        if (lower == "xml") return fail("XML declaration not at the start");
        const auto end = d_.find("?>", p_);
        if (end == std::string_view::npos) return fail("unterminated processing instruction");
        p_ = end + 2;
        return {};
    }

    std::string misc() {
        for (;;) {
            skipSpace();
            if (starts("<!--")) {
                if (std::string e = comment(); !e.empty()) return e;
            } else if (starts("<?")) {
                if (std::string e = pi(); !e.empty()) return e;
            } else {
                return {};
            }
        }
    }

    std::string quoted() {
        if (atEnd() || (d_[p_] != '"' && d_[p_] != '\'')) return fail("quoted literal expected");
        const char q = d_[p_++];
        const auto end = d_.find(q, p_);
        if (end == std::string_view::npos) return fail("unterminated literal");
        p_ = end + 1;
        return {};
    }

    std::string doctype() {
        p_ += 9;
        if (atEnd() || !isSpace(d_[p_])) return fail("blank expected after DOCTYPE");
        skipSpace();
        std::string root;
        if (std::string e = name(root); !e.empty()) return e;
        skipSpace();
        if (starts("SYSTEM")) {
            p_ += 6;
            skipSpace();
            if (std::string e = quoted(); !e.empty()) return e;
        } else if (starts("PUBLIC")) {
            p_ += 6;
            skipSpace();
            if (std::string e = quoted(); !e.empty()) return e;
            skipSpace();
            if (std::string e = quoted(); !e.empty()) return e;
        }
        skipSpace();
        if (starts("[")) return fail("internal subset not supported by this check");
        if (!starts(">")) return fail("\">\" expected to end DOCTYPE");
        ++p_;
        doctypeRoot_ = root;
        return {};
    }

    std::string reference() {
        ++p_;  // '&'
        if (starts("#x")) {
            p_ += 2;
            const std::size_t b = p_;
            while (!atEnd() && std::isxdigit(static_cast<unsigned char>(d_[p_]))) ++p_;
            if (p_ == b) return fail("bad character reference");
        } else if (starts("#")) {
            ++p_;
            const std::size_t b = p_;
            while (!atEnd() && d_[p_] >= '0' && d_[p_] <= '9') ++p_;
            if (p_ == b) return fail("bad character reference");
        } else {
            std::string n;
            if (std::string e = name(n); !e.empty()) return fail("bad entity reference");
            if (n != "lt" && n != "gt" && n != "amp" && n != "apos" && n != "quot")
                return fail("undeclared entity &" + n + ";");
        }
        if (!starts(";")) return fail("\";\" expected after reference");
        ++p_;
        return {};
    }

    std::string element() {
        std::vector<std::string> open;
        for (;;) {
            // At '<' of a start tag.
            ++p_;
            std::string tag;
            if (std::string e = name(tag); !e.empty()) return e;
            if (open.empty() && !doctypeRoot_.empty() && tag != doctypeRoot_)
                return fail("root element differs from DOCTYPE");
            std::vector<std::string> attributes;
            for (;;) {
                const bool spaced = !atEnd() && isSpace(d_[p_]);
                skipSpace();
                if (starts("/>") || starts(">")) break;
                if (!spaced) return fail("blank expected before attribute");
                std::string attribute;
                if (std::string e = name(attribute); !e.empty()) return e;
                for (const auto& a : attributes)
                    if (a == attribute) return fail("repeated attribute " + attribute);
                attributes.push_back(attribute);
                skipSpace();
                if (!starts("=")) return fail("\"=\" expected");
                ++p_;
                skipSpace();
                const std::size_t b = p_;
                if (std::string e = quoted(); !e.empty()) return e;
                if (d_.substr(b, p_ - b).find('<') != std::string_view::npos) return fail("\"<\" in attribute");
            }
            if (starts("/>")) {
                p_ += 2;
                if (open.empty()) return {};
            } else {
                ++p_;
                open.push_back(tag);
            }
            // Content until the next start tag, or until the root closes.
            for (;;) {
                if (atEnd()) return fail("unclosed element " + open.back());
                const char c = d_[p_];
                if (c == '&') {
                    if (std::string e = reference(); !e.empty()) return e;
                } else if (c != '<') {
                    if (starts("]]>")) return fail("\"]]>\" in character data");
                    ++p_;
                } else if (starts("<!--")) {
                    if (std::string e = comment(); !e.empty()) return e;
                } else if (starts("<![CDATA[")) {
                    const auto end = d_.find("]]>", p_);
                    if (end == std::string_view::npos) return fail("unterminated CDATA section");
                    p_ = end + 3;
                } else if (starts("<?")) {
                    if (std::string e = pi(); !e.empty()) return e;
                } else if (starts("</")) {
                    p_ += 2;
                    std::string closing;
                    if (std::string e = name(closing); !e.empty()) return e;
                    if (closing != open.back()) return fail("</" + closing + "> closes <" + open.back() + ">");
                    skipSpace();
                    if (!starts(">")) return fail("\">\" expected in end tag");
                    ++p_;
                    open.pop_back();
                    if (open.empty()) return {};
                } else if (starts("<!")) {
                    return fail("markup declaration inside an element");
                } else {
                    break;  // a start tag
                }
            }
        }
    }

    std::string_view d_;
    std::size_t p_ = 0;
    std::string doctypeRoot_;
};

}  // namespace spectrel::testing
