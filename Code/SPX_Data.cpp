#include "Code/SPX_Data.h"

#include "Code/SPX_IniFile.h"
#include "platform/MessageBoxes.h"

namespace spectrel {

bool TFramesBuffer::Append(std::string_view code, int button, int record, int frame) {
    if (count >= kFramesBufferSize) return false;
    entries[count] = Tframes_buf{std::string(code), button, record, frame};
    ++count;
    return true;
}

void ClearDescriptor(Tprotocol_descriptor&) {}
void CopyDescriptor(const Tprotocol_descriptor&, Tprotocol_descriptor&) {}
void DescriptorFromWorkingState(Tprotocol_descriptor&, const TWorkingProtocol&) {}
void DescriptorToWorkingState(const Tprotocol_descriptor&, TWorkingProtocol&) {}
int FrameCodeLength(const Tprotocol_descriptor&, std::string_view, double) { return 0; }
int FrameCodeLength(const Tprotocol_descriptor& d, std::string_view code, const TWorkingProtocol& w) {
    return FrameCodeLength(d, code, w.carrier_period);
}
std::string GetParamText(const Tprotocol_descriptor&, int, int) { return {}; }
TDataResult SetParamText(Tprotocol_descriptor&, const std::string&, int, int, const TWorkingProtocol&,
                         platform::MessageBoxes&) {
    return {};
}
std::string DescriptorToText(const Tprotocol_descriptor&) { return {}; }
TDataResult DescriptorFromText(Tprotocol_descriptor&, std::string_view) { return {}; }
TDataResult LoadStandardProtocols(Tstandard_protocols&, const TIniFile&) { return {}; }
TDataResult LoadStandardProtocols(Tstandard_protocols& t, const std::string& p) {
    return LoadStandardProtocols(t, TIniFile(p));
}
TDataResult SaveStandardProtocols(const Tstandard_protocols&, TIniFile&) { return {}; }
TDataResult SaveStandardProtocols(const Tstandard_protocols& t, const std::string& p) {
    TIniFile ini(p);
    return SaveStandardProtocols(t, ini);
}
int FindStandardProtocol(const Tstandard_protocols&, const std::string&) { return -1; }
int MatchStandardProtocol(const Tstandard_protocols&, const Tprotocol_descriptor&, double) { return -1; }
int MatchStandardProtocol(const Tstandard_protocols& t, const Tprotocol_descriptor& d, const TWorkingProtocol& w) {
    return MatchStandardProtocol(t, d, w.match_tolerance);
}
void CopyStandardProtocol(const Tstandard_protocols&, int, Tprotocol_descriptor&) {}
std::string FormatGeneralNumber(double) { return {}; }
std::string FormatFixedNumber(double, int) { return {}; }
double RoundHalfEven(double v) { return v; }

}  // namespace spectrel
