#include "shell/core/StoreKey.h"

#include "Code/uKOR_IniObject.h"

namespace spectrel::shell {

TStoreKey ShellPreferencesKey(const std::string& companyName, const std::string& title, const std::string& windowName) {
    return {ApplicationKeyPath(companyName, title) + "\\" + windowName, windowName};
}

TStoreKey PlacementKey(const std::string& companyName, const std::string& title, const std::string& windowName) {
    return {ApplicationKeyPath(companyName, title) + "\\" + windowName + "\\" + windowName, "ZELFormSize"};
}

TStoreKey ToolbarLayoutKey(const std::string& companyName, const std::string& title, const std::string& windowName) {
    return {ApplicationKeyPath(companyName, title), windowName};
}

}  // namespace spectrel::shell
