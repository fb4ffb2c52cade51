#include "app/ReaderStart.h"

#include <algorithm>

#include "Code/ComPortUtils.h"

namespace spectrel::app {

namespace {

// The port list as a selection needs it; the status goes to the result.
class PortList : public TReaderPortView {
public:
    explicit PortList(std::vector<std::string> entries) : entries_(std::move(entries)) {}
    std::vector<std::string> portEntries() const override { return entries_; }
    void selectPortEntry(int) override {}
    void showReaderStatus(const std::string& text) override { status = text; }
    void enableLearningCommands(bool) override {}

    std::string status = reader_status::kNoReader;

private:
    std::vector<std::string> entries_;
};

}  // namespace

ReaderStart::ReaderStart(platform::SerialPortProvider& serialPorts, platform::Clock& clock, platform::MessagePump& pump,
                         platform::MessageBoxes& boxes)
    : serialPorts_(serialPorts),
      clock_(clock),
      pump_(pump),
      boxes_(boxes),
      realLink_(serialPorts, clock, pump, boxes),
      virtualPorts_(board_, clock) {}

ReaderFound ReaderStart::find(const std::string& onlyPort, bool allowVirtual) {
    std::vector<std::string> ports;
    EnumerateComPorts(serialPorts_, ports);
    // A port asked for by name is tried even when the system does not list it (a pseudo-terminal, say).
    if (!onlyPort.empty() && std::find(ports.begin(), ports.end(), onlyPort) == ports.end()) ports.push_back(onlyPort);
    const std::vector<std::string> candidates = onlyPort.empty() ? ports : std::vector<std::string>{onlyPort};

    ReaderFound found;
    found.status = reader_status::kNoReader;
    // A port this user may not open is worth telling about even when another one (or the virtual board) answers
    // in its place.
    std::string refusedAdvice;
    for (const std::string& name : candidates) {
        PortList list(ports);
        // Nothing is known of what hangs on the port: no reset before the version query.
        const bool detected = realLink_.SelectReaderPort(name, list, /*firstActivation=*/true);
        if (realLink_.LastOpenDenied() && refusedAdvice.empty()) refusedAdvice = realLink_.LastOpenAdvice();
        found = {detected, list.status, realLink_.ReaderPortName(), false, realLink_.LastOpenError(), refusedAdvice};
        if (detected) return found;
    }
    if (!allowVirtual) return found;

    virtualLink_ = std::make_unique<TReaderLink>(virtualPorts_, clock_, pump_, boxes_);
    virtualUsed_ = true;
    PortList list(virtualPorts_.portNames());
    const bool detected = virtualLink_->SelectReaderPort(virtualboard::kVirtualPortName, list, true);
    return {detected, list.status, virtualLink_->ReaderPortName(), true, virtualLink_->LastOpenError(),
            refusedAdvice};
}

}  // namespace spectrel::app
