#pragma once
// The eight per-user advanced options, kept in the subkey "AdvancedOptions" of the application's key.
// They are read when the object is made and written when it is destroyed (the main window destroys it as it
// closes), so a change survives only an orderly close.

#include "Code/uKOR_IniObject.h"

namespace spectrel {

inline constexpr const char* kAdvancedOptionsSection = "AdvancedOptions";

class TSpectrelIniObject final : public TIniObject {
public:
    // Binds to the key (normally SpectrelKeyPath()) and reads the eight options.
    TSpectrelIniObject(platform::UserStore& store, std::string keyPath);
    // Writes the eight options.
    ~TSpectrelIniObject() override;

    void Load() override;
    void Save() override;

    bool MatchToStandardProtocol = true;
    bool UseSubstutionRules = true;
    bool AllowProtocolEdit = false;
    bool AllowDecodingParmeterEdit = false;
    bool WizardView = true;
    bool AttachProtocol = true;
    bool SubsBinByHex = false;
    bool UserProtocolExplore = true;
};

}  // namespace spectrel
