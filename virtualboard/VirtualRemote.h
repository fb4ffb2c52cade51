#pragma once
// The virtual remote: a set of named keys whose signals the virtual board plays when the user holds one down.
//
// A key held down is heard by the capture that waits for a press, or, when none waits, by the next capture that
// starts while the key is still down; it sends its first part and then its repeat part again and again until the
// key is released (the part in progress at the release is sent whole, as a remote finishes its frame). One
// press is heard by one capture: a key still held when the next capture starts is not heard again.
//
//     BoardEngine board;
//     VirtualRemote remote(board, [&] { return nowUs(); });
//     remote.press("Power");    // ... a capture hears Power with its repeat frames ...
//     remote.release();

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "virtualboard/BoardEngine.h"
#include "virtualboard/IrSignal.h"

namespace spectrel::virtualboard {

// The keys of the built-in remote: NEC codes of one address, named as on a television remote
// ("Power", "Mute", "Menu", "1" ... "9", "Info", "0", "Back", "Vol+", "Up", "Ch+", "Left", "OK", "Right",
// "Vol-", "Down", "Ch-"), in the order they sit on the remote, three to a row.
std::vector<IrSignal> builtInNecRemote();
inline constexpr const char* kBuiltInRemoteTitle = "Built-in NEC remote";
inline constexpr std::uint8_t kBuiltInRemoteAddress = 0x04;

struct RemoteLoadResult {
    bool ok = false;
    std::string message;             // why the file was not taken, "<file>:<line>: <what is wrong>"
    std::vector<std::string> notes;  // entries that were skipped, "<file>:<line>: <why>"
};

class VirtualRemote {
public:
    // `nowUs` is the time of the board's clock. The remote becomes the board's source of presses; both must
    // outlive it.
    VirtualRemote(BoardEngine& board, std::function<double()> nowUs);
    ~VirtualRemote();
    VirtualRemote(const VirtualRemote&) = delete;
    VirtualRemote& operator=(const VirtualRemote&) = delete;

    const std::string& title() const { return title_; }
    const std::vector<IrSignal>& keys() const { return keys_; }
    // Replaces the keys (a held key is released first).
    void setKeys(std::string title, std::vector<IrSignal> keys);
    void useBuiltInRemote() { setKeys(kBuiltInRemoteTitle, builtInNecRemote()); }
    // Reads a Flipper ".ir" file, a Pronto list or a list of signals in the text form. A file that cannot be
    // read, is malformed or holds no signal changes nothing; the result says why.
    RemoteLoadResult loadFile(const std::string& path);

    // Holds key `index` (or the first key called `name`) down; a key held before is released first. False when
    // there is no such key.
    bool press(std::size_t index);
    bool press(const std::string& name);
    // Lets go of the key held down, if any.
    void release();
    bool held() const { return held_ >= 0; }
    // The name of the key held down; empty when none is.
    std::string heldKey() const;
    // True once a capture has heard the key held down.
    bool heard() const { return heardInCapture_ > 0; }

private:
    std::optional<KeyPress> pressForNewCapture();

    BoardEngine& board_;
    std::function<double()> nowUs_;
    std::string title_;
    std::vector<IrSignal> keys_;
    int held_ = -1;
    int heardInCapture_ = 0;  // the board's capture number that hears the held key; 0 while none has
};

}  // namespace spectrel::virtualboard
