#pragma once
// The device and remote-control details of the main window's Remote column: the five fields and the notes that
// become the device header of a saved file, and the brand lists of the two brand selectors, loaded for each
// device type from its brand list file (the device type + ".brd" in the application folder, one brand a line)
// and completed by fifteen brands every list offers.

#include <string>
#include <string_view>
#include <vector>

namespace spectrel {

namespace platform {
class MessageBoxes;
}

// What the user typed about the device and its remote control.
struct TDeviceDetails {
    std::string remoteBrand;
    std::string remoteModel;
    std::string deviceType;
    std::string deviceBrand;
    std::string deviceModel;
    std::vector<std::string> notes;  // the lines of the notes box, empty ones included
    bool operator==(const TDeviceDetails&) const = default;
};

inline constexpr const char* kBrandFileExtension = ".brd";
inline constexpr const char* kDuplicateBrandPrefix = "Duplicate: ";

// "Halvren", "Akai", "JVC", ... "Westinghouse": appended to both brand lists after the file's entries.
const std::vector<std::string>& DefaultBrands();

// The brand list file of a device type: application folder (with its trailing separator) + type + ".brd".
std::string BrandListFilePath(const std::string& applicationFolder, const std::string& deviceType);

// The lines of a text: CR LF, LF or CR end a line; an empty line gives an empty entry; a text that ends with a
// line end has no empty last line.
std::vector<std::string> SplitTextLines(std::string_view text);

// A text file read as lines.
struct TTextLinesResult {
    bool ok = false;
    std::vector<std::string> lines;
    std::string message;  // why the file could not be read
};
TTextLinesResult ReadTextLinesFile(const std::string& path);

// Case-insensitive order of the brand selectors (equal texts keep their order).
bool BrandLess(const std::string& a, const std::string& b);
// The file's entries followed by the default brands, sorted without regard to case.
std::vector<std::string> BrandListWithDefaults(std::vector<std::string> fileEntries);
// "Duplicate: " + entry i for every entry i equal to entry i - 1 in upper case, in list order.
std::vector<std::string> DuplicateBrandMessages(const std::vector<std::string>& brands);

// The entries of both brand selectors for a device type.
struct TBrandLists {
    std::vector<std::string> deviceBrands;
    std::vector<std::string> remoteBrands;
    bool operator==(const TBrandLists&) const = default;
};

// The device-type change: both lists from the type's brand list file (empty when there is none) and the
// default brands, sorted; one "Duplicate: " error box per duplicate of the device brand list (nothing is
// removed). A brand file that exists but cannot be read is reported in an error box and gives the default
// brands alone.
TBrandLists DeviceTypeBrandLists(const std::string& applicationFolder, const std::string& deviceType,
                                 platform::MessageBoxes& boxes);

}  // namespace spectrel
