#pragma once
// The per-user settings store (the registry of the user on Windows): keys addressed by a path such as
// "Software\Halvren Didaziravu Systems\Spectrel", each with subkeys ("sections") holding named text values.
// The Qt layer implements it with QSettings; tests use an in-memory store.

#include <optional>
#include <string>

namespace spectrel::platform {

class UserStore {
public:
    virtual ~UserStore() = default;
    // The value `name` in the subkey `section` of the key `keyPath`; nullopt when it is missing.
    // Key paths, sections and names compare without regard to case.
    virtual std::optional<std::string> readValue(const std::string& keyPath, const std::string& section,
                                                 const std::string& name) = 0;
    // Stores the value, creating the key and the subkey when missing.
    virtual void writeValue(const std::string& keyPath, const std::string& section, const std::string& name,
                            const std::string& value) = 0;
    // Makes every written value durable; false when the store could not be written.
    virtual bool flush() = 0;
};

}  // namespace spectrel::platform
