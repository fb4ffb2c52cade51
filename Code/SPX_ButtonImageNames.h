#pragma once
// The name table of the button pictures: which bitmap of the "ButtonImages" folder a button gets, found by its
// name. The pictures themselves are loaded by the window layer (Code/KOR_XMLIMAGELIST); this table only keeps
// the image names, sorted and unique, each with the index of its loaded picture (-1 until it is loaded).

#include <functional>
#include <string>
#include <vector>

namespace spectrel {

// The picture a button gets when nothing else matches.
inline constexpr const char* kDefaultButtonImage = "VANTA";
// The folder of the pictures in the application folder.
inline constexpr const char* kButtonImagesFolder = "ButtonImages";

// Whether a file is a candidate picture: its name ends in ".bmp", in any case.
bool IsButtonImageFile(const std::string& fileName);
// The image name of a picture file: its name up to the first ".", in upper case (VOL.UP.bmp gives VOL).
std::string ImageNameFromFileName(const std::string& fileName);

// The two names under which a button's picture is looked for.
struct TButtonImageKeys {
    std::string wholeName;  // the name cut at its first "(" and then at its first "/", trimmed, upper case
    std::string firstWord;  // the cut name before its first blank, upper case; empty without a blank
    bool operator==(const TButtonImageKeys&) const = default;
};
TButtonImageKeys ButtonImageKeys(const std::string& buttonName);

struct TButtonImageEntry {
    std::string name;      // image name
    std::string fileName;  // the file that gave the name
    int imageIndex = -1;   // index of the loaded picture; -1 while not loaded
};

class TButtonImageNames {
public:
    // Loads the picture of an image name and returns its new index in the image list.
    using Loader = std::function<int(const TButtonImageEntry& entry)>;

    void Clear() { entries_.clear(); }
    // Adds the image name of a file; a file that is no candidate, has an empty image name, or whose image name
    // is already in the table is ignored. False when nothing was added.
    bool AddFile(const std::string& fileName);

    int Count() const { return static_cast<int>(entries_.size()); }
    // In name order.
    const std::vector<TButtonImageEntry>& Entries() const { return entries_; }
    // Position of the image name in the table, -1 when it is not there.
    int Position(const std::string& imageName) const;

    // The image index of the picture a button gets, the picture loaded first when needed; -1 when none (no
    // match and no "VANTA" picture). The fallback picture is looked up (and so loaded) first.
    int FindButtonImage(const std::string& buttonName, const Loader& load);
    // The image name loaded at `imageIndex`; empty when none.
    std::string ImageForIndex(int imageIndex) const;
    // Loads every picture in name order, so the i-th name gets image index i on a fresh table.
    void LoadAll(const Loader& load);

private:
    int IndexOfEntry(int position, const Loader& load);

    std::vector<TButtonImageEntry> entries_;
};

}  // namespace spectrel
