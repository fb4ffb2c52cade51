#pragma once
// A place in the per-user store: a key path and the subkey below it that holds the values.

#include <string>

namespace spectrel::shell {

struct TStoreKey {
    std::string keyPath;  // "Software\Halvren Didaziravu Systems\Spectrel\frmMain"
    std::string section;  // "frmMain"
    bool operator==(const TStoreKey&) const = default;
};

// The keys of a frame window, with K = "Software\<company>\<title>" (or "Software\<title>" without a company)
// and W the window's name:
//   shell preferences  K\W\W
//   placement          K\W\W\ZELFormSize
//   toolbar layout     K\W (one value per toolbar)
TStoreKey ShellPreferencesKey(const std::string& companyName, const std::string& title, const std::string& windowName);
TStoreKey PlacementKey(const std::string& companyName, const std::string& title, const std::string& windowName);
TStoreKey ToolbarLayoutKey(const std::string& companyName, const std::string& title, const std::string& windowName);

}  // namespace spectrel::shell
