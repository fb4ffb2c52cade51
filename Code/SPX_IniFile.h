#pragma once
// The settings file ("SPX.ini"): sections in square brackets holding key=value lines, accessed the way the
// Windows profile-file functions do it. Every call reads the file as it is on disk and every write goes
// straight back to disk, so two objects on the same path always agree.
//
// - Section and key names compare without regard to (ASCII) case.
// - Writing a key replaces its line in place, or appends it after the last entry of its section; a missing
//   section is appended at the end of the file, a missing file is created.
// - Values are trimmed of blanks and tabs when read, and one pair of surrounding double quotes is removed;
//   a value of any length reads back whole; the key list of a section is at most 16384 characters.
// - Lines may end with CR LF, LF or a lone CR, also mixed in one file; a rewrite ends every line the way the
//   file's first line ends (CR LF for a new file).
// - Comments (lines starting with ';'), blank lines and lines that are no key=value entry are kept
//   as they are when the file is rewritten.
// - A write goes to a temporary file in the same folder that is then renamed over the file, so a write that
//   fails leaves the previous file untouched; the failure is returned and the first one is kept.

#include <string>
#include <vector>

namespace spectrel {

// Outcome of a settings-file operation that can fail.
struct TIniResult {
    bool ok = true;
    std::string message;  // empty when ok
    explicit operator bool() const { return ok; }
};

class TIniFile {
public:
    // The room for a section's key list (each name plus a separator, plus a final terminator), as the profile
    // functions of the original platform give it.
    static constexpr std::size_t kSectionListRoom = 16384;

    explicit TIniFile(std::string path);

    const std::string& FileName() const { return path_; }

    // The value of the key, trimmed and unquoted, or `defaultValue` when the section or key is missing.
    std::string ReadString(const std::string& section, const std::string& key, const std::string& defaultValue) const;
    // A decimal (or "$"/"0x" hexadecimal) integer; `defaultValue` when missing or not a number.
    int ReadInteger(const std::string& section, const std::string& key, int defaultValue) const;
    // An integer, 0 false and anything else true; `defaultValue` when missing or not a number.
    bool ReadBool(const std::string& section, const std::string& key, bool defaultValue) const;

    // Key names of the section in file order (empty when the section is missing).
    std::vector<std::string> ReadSection(const std::string& section) const;
    // The section's entries as "key=value" texts in file order (values as ReadString gives them).
    std::vector<std::string> ReadSectionValues(const std::string& section) const;
    // Names of all sections in file order.
    std::vector<std::string> ReadSections() const;

    // Fails only when the file exists but cannot be read (a missing file reads as empty).
    TIniResult CheckReadable() const;

    bool SectionExists(const std::string& section) const;
    bool ValueExists(const std::string& section, const std::string& key) const;

    TIniResult WriteString(const std::string& section, const std::string& key, const std::string& value);
    TIniResult WriteInteger(const std::string& section, const std::string& key, int value);
    TIniResult WriteBool(const std::string& section, const std::string& key, bool value);
    // Removes the section with every line in it (its header up to the next section header).
    TIniResult EraseSection(const std::string& section);
    TIniResult DeleteKey(const std::string& section, const std::string& key);

    // The first failure of this object (a write that failed, or an existing file that could not be read).
    bool HasError() const { return !firstError_.ok; }
    const TIniResult& FirstError() const { return firstError_; }

    // The temporary file a write goes through before it replaces the settings file.
    std::string TemporaryFileName() const { return path_ + ".tmp"; }

private:
    struct Document;
    TIniResult load(Document& document) const;
    TIniResult store(const Document& document);
    TIniResult fail(std::string message) const;

    std::string path_;
    mutable TIniResult firstError_;
};

}  // namespace spectrel
