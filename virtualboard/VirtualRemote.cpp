#include "virtualboard/VirtualRemote.h"

#include <algorithm>
#include <iterator>

#include "virtualboard/Generators.h"
#include "virtualboard/SignalFiles.h"

namespace spectrel::virtualboard {

namespace {

struct BuiltInKey {
    const char* name;
    std::uint8_t command;
};

// Laid out as on a television remote, three keys to a row.
constexpr BuiltInKey kBuiltInKeys[] = {
    {"Power", 0x08}, {"Mute", 0x09}, {"Menu", 0x43},   //
    {"1", 0x11},     {"2", 0x12},    {"3", 0x13},      //
    {"4", 0x14},     {"5", 0x15},    {"6", 0x16},      //
    {"7", 0x17},     {"8", 0x18},    {"9", 0x19},      //
    {"Info", 0x4B},  {"0", 0x10},    {"Back", 0x28},   //
    {"Vol+", 0x02},  {"Up", 0x40},   {"Ch+", 0x00},    //
    {"Left", 0x07},  {"OK", 0x44},   {"Right", 0x06},  //
    {"Vol-", 0x03},  {"Down", 0x41}, {"Ch-", 0x01},    //
};

}  // namespace

std::vector<IrSignal> builtInNecRemote() {
    std::vector<IrSignal> keys;
    for (const BuiltInKey& key : kBuiltInKeys) {
        IrSignal signal = necSignal(kBuiltInRemoteAddress, key.command);
        signal.name = key.name;
        keys.push_back(std::move(signal));
    }
    return keys;
}

VirtualRemote::VirtualRemote(BoardEngine& board, std::function<double()> nowUs)
    : board_(board), nowUs_(std::move(nowUs)) {
    useBuiltInRemote();
    board_.setPressSource([this] { return pressForNewCapture(); });
}

VirtualRemote::~VirtualRemote() {
    release();
    board_.setPressSource({});
}

void VirtualRemote::setKeys(std::string title, std::vector<IrSignal> keys) {
    release();
    title_ = std::move(title);
    keys_ = std::move(keys);
}

RemoteLoadResult VirtualRemote::loadFile(const std::string& path) {
    RemoteLoadResult result;
    SignalFileResult file = readSignalFile(path);
    result.notes = std::move(file.notes);
    if (!file.ok) {
        result.message = std::move(file.message);
        return result;
    }
    if (file.signals.empty()) {
        result.message = path + ": holds no signal the virtual remote can send";
        return result;
    }
    const std::size_t slash = path.find_last_of("/\\");
    setKeys(slash == std::string::npos ? path : path.substr(slash + 1), std::move(file.signals));
    result.ok = true;
    return result;
}

bool VirtualRemote::press(std::size_t index) {
    release();
    if (index >= keys_.size()) return false;
    held_ = static_cast<int>(index);
    heardInCapture_ = 0;
    // A capture waiting for a press hears the key at once; otherwise the next capture will, if it is still held.
    if (board_.waitingForPress()) {
        heardInCapture_ = board_.capturesStarted();
        board_.queuePress({keys_[index], BoardEngine::kMaxPressUs});
    }
    return true;
}

bool VirtualRemote::press(const std::string& name) {
    const auto key = std::find_if(keys_.begin(), keys_.end(), [&](const IrSignal& s) { return s.name == name; });
    if (key == keys_.end()) {
        release();
        return false;
    }
    return press(static_cast<std::size_t>(std::distance(keys_.begin(), key)));
}

void VirtualRemote::release() {
    if (held_ < 0) return;
    // Only the capture that heard this press is told; a later one never heard it.
    if (heardInCapture_ > 0 && heardInCapture_ == board_.capturesStarted()) board_.releasePress(nowUs_());
    held_ = -1;
    heardInCapture_ = 0;
}

std::string VirtualRemote::heldKey() const { return held_ < 0 ? std::string() : keys_[held_].name; }

std::optional<KeyPress> VirtualRemote::pressForNewCapture() {
    if (held_ < 0 || heardInCapture_ > 0) return std::nullopt;
    // Asked while the new capture starts, so it is already counted.
    heardInCapture_ = board_.capturesStarted();
    return KeyPress{keys_[held_], BoardEngine::kMaxPressUs};
}

}  // namespace spectrel::virtualboard
