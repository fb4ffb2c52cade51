#pragma once
// The per-user store on QSettings. With the organisation "Halvren Didaziravu Systems" and the application
// "Spectrel" the values live under HKEY_CURRENT_USER\Software\Halvren Didaziravu Systems\Spectrel on Windows
// (and in the user's configuration folder elsewhere); a key path below that root becomes a settings group.

#include <QSettings>
#include <QString>
#include <memory>

#include "platform/UserStore.h"

namespace spectrel::platform::qt {

inline constexpr const char* kOrganisationName = "Halvren Didaziravu Systems";
inline constexpr const char* kApplicationName = "Spectrel";

class QtUserStore : public UserStore {
public:
    // The user's native store of the organisation and application.
    QtUserStore(const QString& organisation = QString::fromUtf8(kOrganisationName),
                const QString& application = QString::fromUtf8(kApplicationName));
    // An INI file standing in for the native store (tests point it into a temporary folder).
    static std::unique_ptr<QtUserStore> onIniFile(const QString& path,
                                                  const QString& organisation = QString::fromUtf8(kOrganisationName),
                                                  const QString& application = QString::fromUtf8(kApplicationName));

    std::optional<std::string> readValue(const std::string& keyPath, const std::string& section,
                                         const std::string& name) override;
    void writeValue(const std::string& keyPath, const std::string& section, const std::string& name,
                    const std::string& value) override;
    bool flush() override;

    // The QSettings key of a value: the key path below the root, the section and the name, joined by "/".
    QString settingsKey(const std::string& keyPath, const std::string& section, const std::string& name) const;

private:
    QtUserStore(std::unique_ptr<QSettings> settings, const QString& organisation, const QString& application);
    std::unique_ptr<QSettings> settings_;
    QString rootPath_;  // "Software\<organisation>\<application>"
};

}  // namespace spectrel::platform::qt
