#pragma once
// Text helpers of the device file writer: they turn whatever the user typed or the analysis produced into text
// that keeps the document well-formed XML 1.0 in UTF-8, changing as little as possible.
//
// - User text (names, notes) is taken as UTF-8; a byte that is not part of a valid UTF-8 sequence is taken as the
//   Latin-1 character of that value (so text from an 8-bit code page keeps its letters).
// - IR codes and frame formats hold one character per byte ('a' + 31 is 128, beyond ASCII); every byte is written
//   as the Unicode character of that code point.
// - Characters that XML 1.0 does not allow (control characters other than tab, line feed and carriage return, and
//   U+FFFE, U+FFFF) are dropped. Line feeds and carriage returns inside a value become blanks, so that every value
//   stays on its line of the document.

#include <string>
#include <string_view>

namespace spectrel::xmltext {

// Leading and trailing blanks and control characters (every byte up to ' ') removed.
std::string TrimText(std::string_view text);

// The XML escape of the device file: " & ' < > as &quot; &amp; &apos; &lt; &gt;, everything else as it stands,
// mended for XML as described above. `text` is user text (UTF-8).
std::string EscapeText(std::string_view text);

// An IR code, a frame format or a frame letter: each byte is the code point of one character; the result is its
// UTF-8 form, escaped as EscapeText does, with forbidden control characters dropped.
std::string EncodeCode(std::string_view code);

// A note line for the inside of a comment: written as typed (no escaping), but a comment may not hold "--", so
// every "--" gets a blank between its dashes ("---" gives "- - -"); the text is otherwise mended like user text.
// A comment may not end in "-" either: the document's comment lines always put a blank before "-->".
std::string CommentText(std::string_view text);

// The text as valid UTF-8 holding only characters that XML 1.0 allows, line breaks as blanks (the common first
// step of EscapeText and CommentText).
std::string MendUserText(std::string_view text);

}  // namespace spectrel::xmltext
