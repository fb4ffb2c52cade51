#include "virtualboard/VirtualRemote.h"

namespace spectrel::virtualboard {

std::vector<IrSignal> builtInNecRemote() { return {}; }

VirtualRemote::VirtualRemote(BoardEngine& board, std::function<double()> nowUs)
    : board_(board), nowUs_(std::move(nowUs)) {}

VirtualRemote::~VirtualRemote() = default;

void VirtualRemote::setKeys(std::string title, std::vector<IrSignal> keys) {
    release();
    title_ = std::move(title);
    keys_ = std::move(keys);
}

RemoteLoadResult VirtualRemote::loadFile(const std::string&) { return {}; }

bool VirtualRemote::press(std::size_t) { return false; }
bool VirtualRemote::press(const std::string&) { return false; }
void VirtualRemote::release() { held_ = -1; }
std::string VirtualRemote::heldKey() const { return {}; }
std::optional<KeyPress> VirtualRemote::pressForNewCapture() { return std::nullopt; }

}  // namespace spectrel::virtualboard
