#pragma once
// A small object bound to one key of the per-user store. Subclasses keep their values as fields, read them in
// Load and write them in Save.
//
// The key is opened when the object is made and closed (flushed) when it goes away. In C++ a base class
// cannot reach a subclass's overrides while it is being built or destroyed, so every concrete subclass calls
// Load() at the end of its constructor and Save() at the start of its destructor; TSpectrelIniObject does.

#include <string>

#include "platform/UserStore.h"

namespace spectrel {

inline constexpr const char* kCompanyName = "Halvren Didaziravu Systems";
inline constexpr const char* kApplicationTitle = "Spectrel";

// "Software\" + company + "\" + title, or "Software\" + title when the company name is empty.
std::string ApplicationKeyPath(const std::string& companyName, const std::string& title);

// "Software\Halvren Didaziravu Systems\Spectrel".
std::string SpectrelKeyPath();

class TIniObject {
public:
    TIniObject(platform::UserStore& store, std::string keyPath);
    virtual ~TIniObject();
    TIniObject(const TIniObject&) = delete;
    TIniObject& operator=(const TIniObject&) = delete;

    virtual void Load() {}
    virtual void Save() {}

    const std::string& KeyPath() const { return keyPath_; }
    // The result of the last flush of the store (made when the key is closed); true before any.
    bool LastFlushSucceeded() const { return flushOk_; }

protected:
    // The value stored in the subkey `section` read as an integer: non-zero is true; the default when the
    // value is missing or not a number.
    bool ReadBool(const std::string& section, const std::string& name, bool defaultValue);
    // Whether the subkey `section` holds the value `name`.
    bool HasValue(const std::string& section, const std::string& name);
    // Stores "1" or "0".
    void WriteBool(const std::string& section, const std::string& name, bool value);
    // Closes the key: everything written becomes durable.
    void Flush();

private:
    platform::UserStore& store_;
    std::string keyPath_;
    bool flushOk_ = true;
};

}  // namespace spectrel
