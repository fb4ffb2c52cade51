#include "virtualboard/BoardEngine.h"

#include <algorithm>
#include <cmath>

#include "Code/SPX_CaptureStream.h"

namespace spectrel::virtualboard {

namespace {

using stream_code::kBurstEndLong;
using stream_code::kBurstStartLong;
using stream_code::kBurstStartShort;
using stream_code::kEndOfData;
constexpr std::uint8_t kBurstEndSameCycles = stream_code::kBurstEndShort;
constexpr std::uint8_t kBurstEndSmallCycles = stream_code::kBurstEndSmallFirst;
constexpr std::uint16_t kSmallCyclesMax = stream_code::kSmallCyclesMask;

constexpr int kMaxCycles = 0xFFFF;
// A glitch is only put into an interval that leaves this much on either side.
constexpr double kGlitchMarginUs = 10;

// The carrier cycles in a mark of `durationUs`: one at its start and one every period while it lasts.
double CarrierCycles(double durationUs, int carrierHz) {
    return std::floor(std::max(0.0, durationUs) * carrierHz / 1e6) + 1;
}

// Lays out the marks and spaces of one press: the first part, then the repeat part while the key is held.
// `repeatStarts` receives the index of the first mark of every repeat part.
std::vector<double> pressTrain(const KeyPress& press, std::vector<std::size_t>& repeatStarts) {
    std::vector<double> train;
    double length = 0;  // of `train`
    auto nextStart = [&] { return length + (train.size() % 2 == 1 ? kImpliedGapUs : 0.0); };
    auto append = [&](const std::vector<double>& part) {
        if (part.empty()) return;
        if (train.size() % 2 == 1) {
            train.push_back(kImpliedGapUs);
            length += kImpliedGapUs;
        }
        train.insert(train.end(), part.begin(), part.end());
        length += totalDurationUs(part);
    };
    append(press.signal.once);
    if (totalDurationUs(press.signal.repeat) > 0) {
        while (nextStart() < press.holdUs && nextStart() < BoardEngine::kMaxPressUs &&
               train.size() < BoardEngine::kMaxPressIntervals) {
            repeatStarts.push_back(train.size() + train.size() % 2);
            append(press.signal.repeat);
        }
    }
    return train;
}

}  // namespace

BoardEngine::BoardEngine(BoardConfig config) : config_(std::move(config)), random_(config_.faults.seed) {}

void BoardEngine::queuePress(KeyPress press) {
    presses_.push_back(std::move(press));
    if (captureActive_ && !pressPlayed_ && latestNowUs_ < captureEndUs_) {
        KeyPress next = std::move(presses_.front());
        presses_.pop_front();
        playPress(next, std::max(latestNowUs_, captureStartUs_ + config_.pressDelayUs));
    }
}

void BoardEngine::receive(std::uint8_t byte, double nowUs) {
    latestNowUs_ = std::max(latestNowUs_, nowUs);
    double arrival = nowUs;
    if (config_.serialTiming) {
        arrival = std::max(nowUs, rxFreeUs_) + config_.byteTimeUs;
        rxFreeUs_ = arrival;
    }
    if (captureActive_) {
        // Whatever the board has not sent yet is dropped, also after its end-of-data event: with the line's
        // pacing the stream may still be queued when the host's reset arrives.
        endCaptureEarly(arrival);
        captureActive_ = false;
    }
    handleCommand(byte, arrival);
}

bool BoardEngine::read(std::uint8_t& byte, double nowUs) {
    latestNowUs_ = std::max(latestNowUs_, nowUs);
    if (out_.empty() || out_.front().readyUs > nowUs) return false;
    byte = out_.front().value;
    out_.pop_front();
    return true;
}

void BoardEngine::discardReadable(double nowUs) {
    std::uint8_t byte = 0;
    while (read(byte, nowUs)) {
    }
}

std::size_t BoardEngine::readableCount(double nowUs) const {
    std::size_t n = 0;
    for (const OutByte& b : out_) {
        if (b.readyUs > nowUs) break;
        ++n;
    }
    return n;
}

std::optional<double> BoardEngine::nextByteTime() const {
    if (out_.empty()) return std::nullopt;
    return out_.front().readyUs;
}

bool BoardEngine::capturing(double nowUs) const { return captureActive_ && nowUs < captureEndUs_; }

std::uint32_t BoardEngine::counterAt(double timeUs) const {
    const long long modulus = kCounterModulus;
    const long long counts =
        static_cast<long long>(config_.counterStart % kCounterModulus) + std::llround(2.0 * timeUs);
    return static_cast<std::uint32_t>(((counts % modulus) + modulus) % modulus);
}

void BoardEngine::send(std::uint8_t value, double eventUs, bool capture) {
    double ready = std::max(eventUs, txFreeUs_);
    if (config_.serialTiming) ready += config_.byteTimeUs;
    txFreeUs_ = ready;
    out_.push_back({value, ready, eventUs, capture});
}

void BoardEngine::releasePress(double nowUs) {
    latestNowUs_ = std::max(latestNowUs_, nowUs);
    if (!captureActive_ || !pressPlayed_ || nowUs >= captureEndUs_) return;
    // The first repeat part that had not started when the key was let go, and everything after it, go.
    const auto cut = std::find_if(repeatStartBursts_.begin(), repeatStartBursts_.end(),
                                  [&](std::size_t burst) { return played_[burst].startUs >= nowUs; });
    if (cut == repeatStartBursts_.end()) return;
    const double cutUs = played_[*cut].startUs;
    played_.resize(*cut);
    repeatStartBursts_.erase(cut, repeatStartBursts_.end());
    while (!out_.empty() && out_.back().capture && out_.back().eventUs >= cutUs) out_.pop_back();
    txFreeUs_ = out_.empty() ? std::min(txFreeUs_, latestNowUs_) : out_.back().readyUs;
    captureEndUs_ = std::numeric_limits<double>::infinity();
    if (config_.endOfDataSilenceUs && !played_.empty()) {
        const double at = played_.back().reportedEndUs + *config_.endOfDataSilenceUs;
        send(kEndOfData, at, true);
        captureEndUs_ = at;
    }
}

void BoardEngine::endCaptureEarly(double atUs) {
    while (!out_.empty() && out_.back().capture && out_.back().readyUs > atUs) out_.pop_back();
    txFreeUs_ = out_.empty() ? std::min(txFreeUs_, atUs) : out_.back().readyUs;
}

void BoardEngine::handleCommand(std::uint8_t byte, double atUs) {
    const BoardFaults& faults = config_.faults;
    if (faults.noAnswer) return;
    if (std::find(faults.ignoredCommands.begin(), faults.ignoredCommands.end(), byte) != faults.ignoredCommands.end()) {
        return;
    }
    switch (byte) {
        case reader_command::kReset: {
            std::uint8_t reply = 0x00;
            if (config_.faults.badResetReplies != 0) {
                reply = faults.badResetValue;
                if (config_.faults.badResetReplies > 0) --config_.faults.badResetReplies;
            }
            send(reply, atUs, false);
            break;
        }
        case reader_command::kQuerySecondVersion:
            send(config_.secondVersion, atUs, false);
            break;
        case reader_command::kQueryFirstVersion:
            send(config_.firstVersion, atUs, false);
            break;
        case reader_command::kStartCapture:
            send(reader_command::kCaptureAcknowledge, atUs, false);
            startCapture(atUs);
            break;
        default:
            break;  // the board ignores bytes it does not know
    }
}

void BoardEngine::startCapture(double atUs) {
    ++captures_;
    random_.seed(config_.faults.seed + static_cast<std::uint32_t>(captures_) * 0x9E3779B9u);
    captureActive_ = true;
    pressPlayed_ = false;
    captureStartUs_ = atUs;
    captureEndUs_ = std::numeric_limits<double>::infinity();
    played_.clear();
    std::optional<KeyPress> press;
    if (!presses_.empty()) {
        press = std::move(presses_.front());
        presses_.pop_front();
    } else if (source_) {
        press = source_();
    }
    if (press) playPress(*press, atUs + config_.pressDelayUs);
}

double BoardEngine::uniform() { return static_cast<double>(random_() >> 8) * (1.0 / 16777216.0); }

void BoardEngine::playPress(const KeyPress& press, double firstMarkUs) {
    pressPlayed_ = true;
    const BoardFaults& faults = config_.faults;
    std::vector<std::size_t> repeatStarts;  // indices into `train`
    std::vector<double> train = pressTrain(press, repeatStarts);

    if (faults.jitterUs > 0) {
        for (double& d : train) d = std::max(1.0, d + (2.0 * uniform() - 1.0) * faults.jitterUs);
    }
    if (faults.glitchProbability > 0) {
        std::vector<double> glitched;
        glitched.reserve(train.size());
        std::size_t nextRepeat = 0;
        for (std::size_t i = 0; i < train.size(); ++i) {
            if (nextRepeat < repeatStarts.size() && repeatStarts[nextRepeat] == i)
                repeatStarts[nextRepeat++] = glitched.size();
            const double d = train[i];
            const bool mark = i % 2 == 0;
            const double glitch = mark ? faults.glitchPauseUs : faults.glitchPulseUs;
            if (uniform() < faults.glitchProbability && glitch > 0 && d > glitch + 2 * kGlitchMarginUs) {
                glitched.push_back((d - glitch) / 2);
                glitched.push_back(glitch);
                glitched.push_back((d - glitch) / 2);
            } else {
                glitched.push_back(d);
            }
        }
        train = std::move(glitched);
    }

    // The bursts as the board sees them.
    const int carrierHz = press.signal.carrierHz;
    std::vector<int> cycles;
    double t = firstMarkUs;
    bool mergeWithPrevious = false;
    repeatStartBursts_.clear();
    std::size_t nextRepeat = 0;
    for (std::size_t i = 0; i < train.size(); ++i) {
        const double d = train[i];
        // A repeat part whose first mark merges into the burst before it has no burst of its own to start at.
        const bool repeatStart = nextRepeat < repeatStarts.size() && repeatStarts[nextRepeat] == i;
        if (repeatStart) ++nextRepeat;
        if (repeatStart && !(mergeWithPrevious && !played_.empty())) repeatStartBursts_.push_back(played_.size());
        if (i % 2 == 0) {
            // The first cycle comes at the start of the mark, then one every carrier period while it lasts.
            const double edges = carrierHz > 0 ? CarrierCycles(d, carrierHz) : 1;
            const double lastCycleUs = carrierHz > 0 ? t + (edges - 1) * 1e6 / carrierHz : t + d;
            // The record holds at most 16 bits of count.
            const int counted = static_cast<int>(std::min<double>(edges, kMaxCycles));
            if (mergeWithPrevious && !played_.empty()) {
                played_.back().endUs = t + d;
                played_.back().lastCycleUs = lastCycleUs;
                cycles.back() = std::min(cycles.back() + counted, kMaxCycles);
            } else {
                PlayedBurst burst;
                burst.startUs = t;
                burst.endUs = t + d;
                burst.lastCycleUs = lastCycleUs;
                played_.push_back(burst);
                cycles.push_back(counted);
            }
        } else {
            // The board ends a burst only after `late` without carrier; a shorter pause does not end it.
            mergeWithPrevious = d <= config_.lateBurstEndUs;
        }
        t += d;
    }

    std::uint8_t lastStartHigh = 0;
    std::uint8_t lastEndHigh = 0;
    std::uint16_t lastCycles = 0;
    int record = 0;
    auto emit = [&](std::vector<std::uint8_t> bytes, double atUs) {
        if (faults.erraticBeforeRecord && *faults.erraticBeforeRecord == record) send(faults.erraticCode, atUs, true);
        if (faults.missingByteInRecord && *faults.missingByteInRecord == record) bytes.pop_back();
        for (std::uint8_t b : bytes) send(b, atUs, true);
        ++record;
    };
    // The timestamp the board puts into the current record.
    auto reported = [&](std::uint32_t count) {
        if (!faults.missedCarryRecord || *faults.missedCarryRecord != record) return count;
        return (count + kCounterModulus - kMissedCarryCounts) % kCounterModulus;
    };
    for (std::size_t i = 0; i < played_.size(); ++i) {
        PlayedBurst& burst = played_[i];
        // The board notices the end of a burst `late` after the last counted cycle.
        burst.reportedEndUs = burst.lastCycleUs + config_.lateBurstEndUs;
        burst.startCount = counterAt(burst.startUs);
        burst.endCount = counterAt(burst.reportedEndUs);
        burst.cycles = static_cast<std::uint16_t>(cycles[i]);

        const std::uint32_t startCount = reported(burst.startCount);
        const auto sh = static_cast<std::uint8_t>(startCount >> 16);
        const auto sm = static_cast<std::uint8_t>(startCount >> 8);
        const auto sl = static_cast<std::uint8_t>(startCount);
        if (sh == lastStartHigh) {
            emit({kBurstStartShort, sm, sl}, burst.startUs);
        } else {
            emit({kBurstStartLong, sh, sm, sl}, burst.startUs);
            lastStartHigh = sh;
        }

        const std::uint32_t endCount = reported(burst.endCount);
        const auto eh = static_cast<std::uint8_t>(endCount >> 16);
        const auto em = static_cast<std::uint8_t>(endCount >> 8);
        const auto el = static_cast<std::uint8_t>(endCount);
        const std::uint16_t c = burst.cycles;
        if (eh == lastEndHigh && c == lastCycles) {
            emit({kBurstEndSameCycles, em, el}, burst.reportedEndUs);
        } else if (eh == lastEndHigh && c <= kSmallCyclesMax) {
            emit({static_cast<std::uint8_t>(kBurstEndSmallCycles | c), em, el}, burst.reportedEndUs);
            lastCycles = c;
        } else {
            emit({kBurstEndLong, eh, em, el, static_cast<std::uint8_t>(c >> 8), static_cast<std::uint8_t>(c & 0xFF)},
                 burst.reportedEndUs);
            lastEndHigh = eh;
            lastCycles = c;
        }
    }

    if (config_.endOfDataSilenceUs && !played_.empty()) {
        const double at = played_.back().reportedEndUs + *config_.endOfDataSilenceUs;
        send(kEndOfData, at, true);
        captureEndUs_ = at;
    }
}

}  // namespace spectrel::virtualboard
