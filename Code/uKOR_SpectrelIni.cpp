#include "Code/uKOR_SpectrelIni.h"

namespace spectrel {

TSpectrelIniObject::TSpectrelIniObject(platform::UserStore& store, std::string keyPath)
    : TIniObject(store, std::move(keyPath)) {
    Load();
}

TSpectrelIniObject::~TSpectrelIniObject() { Save(); }

void TSpectrelIniObject::Load() {
    const char* s = kAdvancedOptionsSection;
    MatchToStandardProtocol = ReadBool(s, "MatchToStandardProtocol", true);
    UseSubstutionRules = ReadBool(s, "UseSubstutionRules", true);
    AllowProtocolEdit = ReadBool(s, "AllowProtocolEdit", false);
    AllowDecodingParmeterEdit = ReadBool(s, "AllowDecodingParmeterEdit", false);
    WizardView = ReadBool(s, "WizardView", true);
    AttachProtocol = ReadBool(s, "AttachProtocol", true);
    SubsBinByHex = ReadBool(s, "SubsBinByHex", false);
    UserProtocolExplore = ReadBool(s, "UserProtocolExplore", true);
    TolerantLearning = ReadBool(s, "TolerantLearning", false);
    tolerantStored_ = HasValue(s, "TolerantLearning");
}

void TSpectrelIniObject::Save() {
    const char* s = kAdvancedOptionsSection;
    WriteBool(s, "MatchToStandardProtocol", MatchToStandardProtocol);
    WriteBool(s, "UseSubstutionRules", UseSubstutionRules);
    WriteBool(s, "AllowProtocolEdit", AllowProtocolEdit);
    WriteBool(s, "AllowDecodingParmeterEdit", AllowDecodingParmeterEdit);
    WriteBool(s, "WizardView", WizardView);
    WriteBool(s, "AttachProtocol", AttachProtocol);
    WriteBool(s, "SubsBinByHex", SubsBinByHex);
    WriteBool(s, "UserProtocolExplore", UserProtocolExplore);
    // A store that never had the option keeps only the eight values of every version.
    if (TolerantLearning || tolerantStored_) WriteBool(s, "TolerantLearning", TolerantLearning);
}

}  // namespace spectrel
