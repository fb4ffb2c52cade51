#include "Code/SPX_IniFile.h"

namespace spectrel {

TIniFile::TIniFile(std::string path) : path_(std::move(path)) {}

std::string TIniFile::ReadString(const std::string&, const std::string&, const std::string& defaultValue) const {
    return defaultValue;
}
int TIniFile::ReadInteger(const std::string&, const std::string&, int defaultValue) const { return defaultValue; }
bool TIniFile::ReadBool(const std::string&, const std::string&, bool defaultValue) const { return defaultValue; }
std::vector<std::string> TIniFile::ReadSection(const std::string&) const { return {}; }
std::vector<std::string> TIniFile::ReadSectionValues(const std::string&) const { return {}; }
std::vector<std::string> TIniFile::ReadSections() const { return {}; }
bool TIniFile::SectionExists(const std::string&) const { return false; }
bool TIniFile::ValueExists(const std::string&, const std::string&) const { return false; }
TIniResult TIniFile::WriteString(const std::string&, const std::string&, const std::string&) { return fail("not yet"); }
TIniResult TIniFile::WriteInteger(const std::string&, const std::string&, int) { return fail("not yet"); }
TIniResult TIniFile::WriteBool(const std::string&, const std::string&, bool) { return fail("not yet"); }
TIniResult TIniFile::EraseSection(const std::string&) { return fail("not yet"); }
TIniResult TIniFile::DeleteKey(const std::string&, const std::string&) { return fail("not yet"); }

TIniResult TIniFile::fail(std::string message) const {
    TIniResult result{false, std::move(message)};
    if (firstError_.ok) firstError_ = result;
    return result;
}

}  // namespace spectrel
