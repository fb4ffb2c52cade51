#pragma once
// The per-user advanced options (the eight of every version and "TolerantLearning"), kept in the subkey "AdvancedOptions" of the application's key.
// They are read when the object is made and written when it is destroyed (the main window destroys it as it
// closes), so a change survives only an orderly close.

#include "Code/uKOR_IniObject.h"

namespace spectrel {

inline constexpr const char* kAdvancedOptionsSection = "AdvancedOptions";

class TSpectrelIniObject final : public TIniObject {
public:
    // Binds to the key (normally SpectrelKeyPath()) and reads the options.
    TSpectrelIniObject(platform::UserStore& store, std::string keyPath);
    // Writes the options.
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
    // The learning procedures get past levels the protocol lacks, jitter, constant air-conditioner frames and
    // one-frame presses (off: they work exactly as they always have).
    bool TolerantLearning = false;

private:
    bool tolerantStored_ = false;  // the store held "TolerantLearning" when it was read
};

}  // namespace spectrel
