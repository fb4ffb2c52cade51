#include "Code/uKOR_ButtonTemplates.h"

#include <algorithm>
#include <cstring>

#include "Code/SPX_Assert.h"
#include "Code/SPX_Data_ButtonCodes.h"
#include "Code/SPX_IniFile.h"

namespace spectrel {

namespace {

constexpr const char* kModule = "Code/uKOR_ButtonTemplates";

// clang-format off
const std::vector<std::string> kDefaultTemplateLines = {
    R"(AirCond="Heat 16C", "Heat 17C", "Heat 18C", "Heat 19C", "Heat 20C", "Heat 21C","Heat 22C", "Heat 23C", "Heat 24C", "Heat 25C", "Heat 26C", "Heat 27C","Heat 28C", "Heat 29C", "Heat 30C", "Cool 16C", "Cool 17C", "Cool 18C","Cool 19C", "Cool 20C", "Cool 21C", "Cool 22C", "Cool 23C", "Cool 24C","Cool 25C", "Cool 26C", "Cool 27C", "Cool 28C", "Cool 29C", "Cool 30C","Auto 16C", "Auto 17C", "Auto 18C", "Auto 19C", "Auto 20C", "Auto 21C","Auto 22C", "Auto 23C", "Auto 24C", "Auto 25C", "Auto 26C", "Auto 27C","Auto 28C", "Auto 29C", "Auto 30C")",
    R"(CD="Mute","Program+","Program-","Volume+","Volume-","On","Off","Eject","Rew","Play","FF","Prev","Pause","Next","Disc-","Stop","Disc+","Track","Group","Disc","1","2","3","4","5","6","7","8","9","+10","0","Enter","Continue","Favourite","Shuffle One","Shuffle All","Repeat One","Repeat All","Program","Title","Menu","Clear","Up","Down","Left","Right","OK","+","-","Exit","Select-","Select+","Store","Erase","Edit","CD Text","Fade In","Fade Out","Memo CLR")",
    R"(DVD="Mute","Program+","Program-","Volume+","Volume-","On","Off","Display","Eject","Rew","Play","FF","Prev","Pause","Next","Stop","TV/DVD","Still","Menu","Disc M","Up","Down","Left","Right","OK","+","-","Title","Exit","Chapter","1","2","3","4","5","6","7","8","9","+10","0","Enter","Frame Rwd","Frame Fwd","Slow Rwd","Slow Fwd","Normal Rwd","Audio","Subtitle","Language","Surround","Setup Menu","Angle","Format","Zoom","Repeat","Scan","Shuffle","Last Play","Memo CLR","Favourite","Sys Select","Prog AB","Program","Karaoke On/Off","Karaoke Mode","Karaoke Vocal","Karaoke Melody","Karaoke Once More")",
    R"(HomeAuto="Arm Security","Outside Lights","Lights On/Off","Dim Lights","Heat","Cool","Water Garden","Open Curtains")",
    R"(LaserDisc="Program+","Program-","On","Off","Eject","Rew","Play","FF","Slow Rew","Play Back","Slow Fwd","Prev","Stop","Next","Still","Display","Menu","Erase","Up","Down","Left","Right","OK","+","-","Clear","Exit","TV/LD","TV/VCD","1","2","3","4","5","6","7","8","9","+10","0","Enter","Speed-","Speed+","Index-","Index+","Favourite","Strobe","Multiscrn","Audio","AB","Prog AB","Shuffle One","Shuffle All","Repeat One","Repeat All","Program","Title","Memory","Memo CLR","Recall","Random")",
    R"(PreAmp="On","Off","Input","Source-","Source+","TV","DVD","VCR","Tuner","CD","DAT","Aux","DBS","LD","Phono","Tape","Tape 2","Antenna","Surround-","Surround+","Rew","Play","FF","Rec","Stop","Pause","Display","1","2","3","4","5","6","7","8","9","+10","0","Enter","Stereo","Movie","Matrix","Direct","3-Stereo","Hall","AC-3","ProLogic","Mode","Menu","Back","Up","Down","Left","Right","OK","+","-","Clear","Exit","Treble-","Treble+","Bass-","Bass+","Front","Balance Left","Balance Right","Rear","Test Tone On","Test Tone Off","Next Speaker","Centre Vol-","Rear Vol-","Rear Vol+","Delay-","Delay+","RF","COAX","Acoustic Select","Acoustic Memo","Speaker","Night","Boost","Multiroom","Volume+","Volume-")",
    R"(TapePlayer="On","Off","A","B","Eject","Rew","Play BackPlay","FF","Prev","Pause","Next","Rec","Stop","AMS","Repeat One","Repeat All","Repeat A/B","Scan Forward","Counter Reset","Dub","Rec Level-","Rec Level+","Blank Search","Record Blank","Dolby B","Dolby C","Last Record Cancel","Store","Erase","Sequential","Monitor")",
    R"(Receiver="Mute","Preset+","Preset-","Volume+","Volume-","On","Off","Input","Source-","Source+","TV","DVD","VCR","Tuner","CD","DAT","Aux","DBS","LD","Phono","Tape","Tape 2","Surround","Ant","-","Mode","+","Rew","Play","FF","Rec","Stop","Pause","Direct","Shift","1","2","3","4","5","6","7","8","9","+10","0","Enter","Menu","Up","Down","Left","Right","OK","+","-","Exit","A/V Status","AM","FM","Seek-","Seek+","Preset-","Preset+","Program-","Program+","Preset/Prgrm/Freq","Stereo/Mono","Local/Distant","Store","Erase","MemClr","Delay-","Delay+","Balance Left","Balance Right","System Select","Shift","10","11","12","13","14","15","16","17","18","19","20")",
    R"(TV="Mute","Program+","Program-","Volume+","Volume-","On","Off","Source","1","2","3","4","5","6","7","8","9","+10","0","Enter","TV/VCR","Video","S-Video","Audio","Prev","Ext1","Ext2","Ext3","Menu","Guide","Up","Down","Left","Right","OK","+","-","Cancel","Exit","PIP","Step-","Step+","Size","Shift","Strobe","Freeze","Select","Main Swap","Mosaic","Movie Expand","Dual Screen","CC","SAP","Size","Natural","Main Freeze","Main Stored","Recall Main","Audio Select")",
    R"(VCR="Mute","Program+","Program-","Volume+","Volume-","On","Off","TV/VCR","Eject","Rew","Play","FF","Prev","Pause","Next","Rec","Stop","VCR+","Display","1","2","3","4","5","6","7","8","9","+10","0","Enter","Menu","Guide","Up","Down","Left","Right","OK","+","-","Clear","Exit","ITR","SL/LP","Tape","Today","Timer Program","Timer Standby","Timer Prog View","Counter Reset","Child Lock","Select VPS","Daily/Weekly","Smart Picture","Auto Tracking","Track-","Track+","Speed-","Speed+","Inp1","Inp2","SAP","Go To","Index Scan","Skip Commercial","Zoom Left","Zoom Right","Frame Rwd","Frame Fwd","Slow Rwd","Slow Play","Fast Rwd","Fast FF")",
};
// clang-format on

// ASCII only: the C library's mapping follows the user's locale (in Turkish 'I' would not match 'i').
char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

std::string LowerText(std::string text) {
    for (char& c : text) c = Lower(c);
    return text;
}

// Case-insensitive alphabetical order in the collation of the user's locale (byte order in the "C" locale).
bool LessIgnoringCase(const std::string& a, const std::string& b) {
    return std::strcoll(LowerText(a).c_str(), LowerText(b).c_str()) < 0;
}

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string Trim(const std::string& text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

// The store drops one pair of outer quotes from a value; put them back so the value splits as it did.
std::string RestoreOuterQuotes(std::string value) {
    if (value.empty()) return value;
    if (value.front() != '"') value.insert(value.begin(), '"');
    if (value.back() != '"') value.push_back('"');
    return value;
}

// --- the button list as the templates use it
int ButtonCount(const TbuttonCodes& buttons) { return buttons.Count(); }
std::string ButtonName(const TbuttonCodes& buttons, int index) { return buttons.Items(index).Name(); }

}  // namespace

const std::vector<std::string>& DefaultTemplateLines() { return kDefaultTemplateLines; }

const std::string& TButtonTemplates::Strings(int index) const {
    SPX_ASSERT(index >= 0 && index < Count(), "List index out of bounds", kModule);
    return lines_[static_cast<std::size_t>(index)];
}

void TButtonTemplates::Delete(int index) {
    SPX_ASSERT(index >= 0 && index < Count(), "List index out of bounds", kModule);
    lines_.erase(lines_.begin() + index);
}

void TButtonTemplates::LoadTemplates(const TIniFile& settings) {
    std::vector<std::string> entries = settings.ReadSectionValues(kButtonTemplatesSection);
    if (entries.empty()) {
        SetDefaultTemplates();
        return;
    }
    lines_.clear();
    for (const std::string& entry : entries) {
        const std::size_t eq = entry.find('=');
        if (eq == std::string::npos) {
            lines_.push_back(entry);
        } else {
            lines_.push_back(entry.substr(0, eq + 1) + RestoreOuterQuotes(entry.substr(eq + 1)));
        }
    }
    RefreshViews();
}

void TButtonTemplates::SetDefaultTemplates() {
    lines_ = kDefaultTemplateLines;
    RefreshViews();
}

TIniResult TButtonTemplates::SaveTemplates(TIniFile& settings) const {
    TIniResult first = settings.EraseSection(kButtonTemplatesSection);
    for (int i = 0; i < Count(); ++i) {
        TIniResult result = settings.WriteString(kButtonTemplatesSection, TemplateName(i), TemplateValue(i));
        if (first.ok && !result.ok) first = result;
    }
    return first;
}

std::string TButtonTemplates::TemplateName(int index) const {
    const std::string& line = Strings(index);
    return line.substr(0, line.find('='));
}

int TButtonTemplates::IndexOfName(const std::string& name) const {
    const std::string wanted = Trim(name);
    for (int i = 0; i < Count(); ++i) {
        if (EqualIgnoringCase(Trim(TemplateName(i)), wanted)) return i;
    }
    return -1;
}

std::string TButtonTemplates::TemplateValue(int index) const {
    const std::string& line = Strings(index);
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos) return {};
    return RestoreOuterQuotes(line.substr(eq + 1));
}

std::string TButtonTemplates::MakeTemplateLine(const std::string& name, const std::vector<std::string>& names) {
    std::string line = name + "=";
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) line += ',';
        line += '"' + names[i] + '"';
    }
    return line;
}

void TButtonTemplates::BindMenu(TTemplateMenu* menu) {
    menu_ = menu;
    if (menu_ == nullptr) return;
    for (int i = menu_->CommandCount() - 1; i >= 0; --i) {
        if (menu_->CommandTag(i) != kKeepMenuCommandTag) menu_->DeleteCommand(i);
    }
    for (int i = 0; i < Count(); ++i) {
        menu_->InsertCommand(i, TemplateName(i), i, [this, i] { ApplyTemplateFromMenuCommand(i); });
    }
}

void TButtonTemplates::BindListBox(TTemplateListBox* listBox) {
    listBox_ = listBox;
    if (listBox_ == nullptr) return;
    std::vector<std::string> names;
    names.reserve(lines_.size());
    for (int i = 0; i < Count(); ++i) names.push_back(TemplateName(i));
    listBox_->SetItems(names);
}

void TButtonTemplates::RefreshViews() {
    BindMenu(menu_);
    BindListBox(listBox_);
}

bool TButtonTemplates::ApplyTemplate(int index) {
    SPX_ASSERT(buttons_ != nullptr, "The button list of the templates is not set", kModule);
    if (index < 0 || index >= Count()) return false;

    // Names are compared and added trimmed, as the button list stores them.
    std::vector<std::string> names = SplitCommaText(TemplateValue(index));
    for (std::string& name : names) name = Trim(name);
    std::stable_sort(names.begin(), names.end(), LessIgnoringCase);

    // From the last button to the first: a button the template names stays and uses up one occurrence
    // of its name; any other button goes.
    for (int b = ButtonCount(*buttons_) - 1; b >= 0; --b) {
        const std::string buttonName = ButtonName(*buttons_, b);
        auto hit = std::find_if(names.begin(), names.end(),
                                [&](const std::string& name) { return EqualIgnoringCase(name, buttonName); });
        if (hit != names.end()) {
            names.erase(hit);
        } else {
            buttons_->Delete(b);
        }
    }
    for (const std::string& name : names) buttons_->Add(name);

    if (onApplied_) onApplied_();
    return true;
}

bool TButtonTemplates::ApplyTemplateFromListBox() {
    if (listBox_ == nullptr) return false;
    return ApplyTemplate(listBox_->SelectedIndex());
}

}  // namespace spectrel
