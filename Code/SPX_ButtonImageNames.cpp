#include "Code/SPX_ButtonImageNames.h"

#include <algorithm>

namespace spectrel {
namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string Trimmed(const std::string& text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

std::string Upper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

// The text before the first `mark`, or the whole text without one.
std::string CutAt(const std::string& text, char mark) { return text.substr(0, text.find(mark)); }

}  // namespace

bool IsButtonImageFile(const std::string& fileName) {
    constexpr std::size_t kExtension = 4;  // ".bmp"
    return fileName.size() >= kExtension && Upper(fileName.substr(fileName.size() - kExtension)) == ".BMP";
}

std::string ImageNameFromFileName(const std::string& fileName) { return Upper(CutAt(fileName, '.')); }

TButtonImageKeys ButtonImageKeys(const std::string& buttonName) {
    const std::string cut = CutAt(CutAt(buttonName, '('), '/');
    TButtonImageKeys keys;
    keys.wholeName = Upper(Trimmed(cut));
    const std::size_t blank = cut.find(' ');
    if (blank != std::string::npos) keys.firstWord = Upper(cut.substr(0, blank));
    return keys;
}

bool TButtonImageNames::AddFile(const std::string& fileName) {
    if (!IsButtonImageFile(fileName)) return false;
    std::string name = ImageNameFromFileName(fileName);
    // A file named ".bmp" has no image name; no button could be meant by it.
    if (name.empty()) return false;
    const auto at = std::lower_bound(entries_.begin(), entries_.end(), name,
                                     [](const TButtonImageEntry& entry, const std::string& n) { return entry.name < n; });
    if (at != entries_.end() && at->name == name) return false;
    entries_.insert(at, TButtonImageEntry{std::move(name), fileName, -1});
    return true;
}

int TButtonImageNames::Position(const std::string& imageName) const {
    if (imageName.empty()) return -1;
    const auto at = std::lower_bound(entries_.begin(), entries_.end(), imageName,
                                     [](const TButtonImageEntry& entry, const std::string& n) { return entry.name < n; });
    if (at == entries_.end() || at->name != imageName) return -1;
    return static_cast<int>(at - entries_.begin());
}

int TButtonImageNames::IndexOfEntry(int position, const Loader& load) {
    TButtonImageEntry& entry = entries_[static_cast<std::size_t>(position)];
    if (entry.imageIndex < 0) entry.imageIndex = load(entry);
    return entry.imageIndex;
}

int TButtonImageNames::FindButtonImage(const std::string& buttonName, const Loader& load) {
    const int fallback = buttonName == kDefaultButtonImage ? -1 : FindButtonImage(kDefaultButtonImage, load);
    const TButtonImageKeys keys = ButtonImageKeys(buttonName);
    if (const int whole = Position(keys.wholeName); whole >= 0) return IndexOfEntry(whole, load);
    if (const int first = Position(keys.firstWord); first >= 0) return IndexOfEntry(first, load);
    return fallback;
}

std::string TButtonImageNames::ImageForIndex(int imageIndex) const {
    if (imageIndex < 0) return {};
    for (const TButtonImageEntry& entry : entries_)
        if (entry.imageIndex == imageIndex) return entry.name;
    return {};
}

void TButtonImageNames::LoadAll(const Loader& load) {
    for (int position = 0; position < Count(); ++position) IndexOfEntry(position, load);
}

}  // namespace spectrel
