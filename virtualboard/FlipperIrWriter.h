#pragma once
// Writes signals as a Flipper-style ".ir" file of raw entries, the form readSignalFile reads back:
//     Filetype: IR signals file
//     Version: 1
//     #
//     name: Record 0
//     type: raw
//     frequency: 38000
//     duty_cycle: 0.330000
//     data: 9000 4500 560 560 ...
// A signal's once part and then its repeat part (played once) make the data, rounded to whole microseconds (at
// least 1). A signal without carrier gets the frequency 0.

#include <string>
#include <vector>

#include "virtualboard/IrSignal.h"

namespace spectrel::virtualboard {

std::string formatFlipperIr(const std::vector<IrSignal>& entries);

}  // namespace spectrel::virtualboard
