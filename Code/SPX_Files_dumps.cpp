#include "Code/SPX_Files_dumps.h"

#include "Code/SPX_CaptureStream.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "Code/SPX_ComPortUnit.h"
#include "Code/SPX_Data.h"
#include "Code/SPX_processing_state.h"
#include "platform/MessageBoxes.h"

namespace spectrel {
namespace {

namespace fs = std::filesystem;

// Burst record codes of the reader's stream; a blank before each makes the records readable.
constexpr std::uint8_t kBurstStartCode = stream_code::kBurstStartLong;
constexpr std::uint8_t kBurstEndCode = stream_code::kBurstEndLong;
// A PicDump.txt line is written out once it is longer than this.
constexpr std::size_t kStreamLineLength = 60;
// The board reports the end of a burst about this long after its last carrier cycle (us).
constexpr double kBurstEndDelay = 45.0;
// Bursts up to this long (us) are too short for a frequency.
constexpr double kShortestTimedBurst = 50.0;
constexpr double kMicrosecondsPerMillisecond = 1000.0;

// Columns of the table dumps and of the vocabulary dump.
constexpr std::size_t kTimeColumn = 15;
constexpr std::size_t kDurationColumn = 30;
constexpr std::size_t kTailColumn = 45;
constexpr std::size_t kRangeColumn = 20;
constexpr std::size_t kHitsColumn = 40;
constexpr std::size_t kTicksColumn = 60;

constexpr const char* kFirstRecordLine = "     -------------- First record ------------- ";
constexpr const char* kNewRecordLine = "     -------------- New record ------------- ";
constexpr const char* kGapEndLine = "-------";

fs::path ToPath(const std::string& name) {
    return fs::path(std::u8string(reinterpret_cast<const char8_t*>(name.data()), name.size()));
}

// One dump file, written line by line; the first failure is kept.
class DumpFile {
public:
    explicit DumpFile(std::string path) : path_(std::move(path)) {
        errno = 0;
        out_.open(ToPath(path_), std::ios::out | std::ios::trunc);
        if (!out_) fail("Cannot create file", errno);
    }
    void line(const std::string& text) {
        if (!result_.ok) return;
        out_ << text << '\n';
        if (!out_) fail("Cannot write file", errno);
    }
    TFileResult close() {
        if (!result_.ok) return result_;
        errno = 0;
        out_.close();
        if (out_.fail()) fail("Cannot write file", errno);
        return result_;
    }

private:
    void fail(const char* what, int number) {
        if (!result_.ok) return;
        result_ = {false, std::string(what) + " " + path_ + ": " +
                              (number != 0 ? std::generic_category().message(number) : "input/output error")};
    }

    std::string path_;
    std::ofstream out_;
    TFileResult result_{true, {}};
};

std::string Hex2(std::uint8_t byte) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    return {kDigits[byte >> 4], kDigits[byte & 0x0F]};
}

void WriteCarrierLine(DumpFile& file, double period) {
    if (period > 0) {
        file.line("Carrier " + DumpFixed(period, 8, 2) + " us, or " +
                  DumpFixed(kMicrosecondsPerMillisecond / period, 8, 2) + " kHz");
    } else {
        file.line("No carrier");
    }
}

enum class TableKind { Capture, Analysis };

// Dbg.txt and RawDump.txt: the records with the frame gaps set off, and a tail that differs between the two.
void WriteTable(DumpFile& file, const TIntervalRecord* table, int count, double period, int readerDelay,
                TableKind kind) {
    WriteCarrierLine(file, period);
    file.line(kFirstRecordLine);
    int currentRecord = 0;
    for (int n = 0; n < count; ++n) {
        const TIntervalRecord& r = table[n];
        if (r.recordNumber != currentRecord) {
            currentRecord = r.recordNumber;
            file.line(kNewRecordLine);
        }
        const bool gap = r.frameNumber == -1;
        if (gap) file.line("");
        std::string line = std::to_string(n) + ":" + std::to_string(r.recordNumber) + ":" +
                           std::to_string(r.frameNumber) + ":" + std::to_string(r.indexInFrame) + " ";
        PadTo(line, kTimeColumn);
        line += DumpGeneral(r.time);
        PadTo(line, kDurationColumn);
        line += r.isPulse ? "PULSE=" : "pause=";
        line += DumpGeneral(r.duration);
        PadTo(line, kTailColumn);
        if (kind == TableKind::Analysis) {
            // The durations the pulse-width correction will give.
            if (r.isPulse) {
                line += "+carrier-tail=" + DumpFixed(r.duration + period - readerDelay, 8, 1);
            } else {
                line += "-carrier+tail=" + DumpFixed(r.duration - period + readerDelay, 8, 1);
            }
            line += " carrier pulses=" + std::to_string(r.carrierCycles);
        } else {
            line += " curr_pls=" + std::to_string(r.carrierCycles);
            if (r.carrierCycles > 1 && r.duration > kShortestTimedBurst) {
                // The burst's carrier in kHz, its end being reported late by the board.
                line += " freq=" +
                        DumpFixed((r.carrierCycles - 1) * kMicrosecondsPerMillisecond / (r.duration - kBurstEndDelay),
                                  4, 1);
            }
        }
        file.line(line);
        if (gap) file.line(kGapEndLine);
    }
}

// Digits of the integer part of a fixed-notation text without sign ("0" counts as none).
int IntegerDigits(const std::string& text) {
    const std::size_t point = std::min(text.find('.'), text.size());
    if (point == 1 && text[0] == '0') return 0;
    return static_cast<int>(point);
}

// Zeros between the point and the first significant digit of a value below 1; -1 when all digits are zero.
int LeadingFractionZeros(const std::string& text) {
    const std::size_t point = text.find('.');
    if (point == std::string::npos) return -1;
    for (std::size_t i = point + 1; i < text.size(); ++i)
        if (text[i] != '0') return static_cast<int>(i - point - 1);
    return -1;
}

}  // namespace

// --- number formats

std::string DumpGeneral(double value) { return FormatGeneralNumber(value); }

std::string DumpFixed(double value, int precision, int decimals) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    precision = std::max(precision, 1);
    decimals = std::max(decimals, 0);
    const double magnitude = std::fabs(value);
    std::string text = FormatFixedNumber(magnitude, decimals);
    // Round once, at whichever comes first: the last decimal or the last significant digit.
    for (int pass = 0; pass < 2; ++pass) {
        const int digits = IntegerDigits(text);
        if (digits > precision) {
            char buffer[64];
            std::snprintf(buffer, sizeof buffer, "%.*E", precision - 1, value);
            return buffer;
        }
        int allowed = precision - digits;
        if (digits == 0) {
            const int zeros = LeadingFractionZeros(text);
            if (zeros < 0) break;  // rounds to zero
            allowed = precision + zeros;
        }
        if (allowed >= decimals) break;
        text = FormatFixedNumber(magnitude, allowed);
    }
    // Digits beyond the precision are written as zeros.
    const std::size_t point = text.find('.');
    const int have = point == std::string::npos ? 0 : static_cast<int>(text.size() - point - 1);
    if (decimals > 0 && point == std::string::npos) text += '.';
    text.append(static_cast<std::size_t>(std::max(decimals - have, 0)), '0');
    const bool zero = std::all_of(text.begin(), text.end(), [](char c) { return c == '0' || c == '.'; });
    if (value < 0 && !zero) text.insert(text.begin(), '-');
    return text;
}

void PadTo(std::string& line, std::size_t width) {
    if (line.size() < width) line.append(width - line.size(), ' ');
}

// --- the dumps

TDumpFiles::TDumpFiles(std::string folder, bool enabled, platform::MessageBoxes* boxes)
    : folder_(std::move(folder)), enabled_(enabled), boxes_(boxes) {}

std::string TDumpFiles::path(const char* file) const {
    if (folder_.empty()) return file;
    const char last = folder_.back();
    if (last == '/' || last == '\\') return folder_ + file;
    return folder_ + "/" + file;
}

void TDumpFiles::report(const TFileResult& result) {
    if (result.ok || !firstError_.ok) return;
    firstError_ = result;
    if (boxes_)
        boxes_->show(platform::MessageKind::Error, "File error! " + result.message, platform::MessageButton::Ok);
}

void TDumpFiles::DumpReaderStream(TReaderLink& reader) {
    if (!enabled_) return;
    DumpReaderStream([&reader](std::uint8_t& byte) { return reader.ReadReaderByte(byte); });
}

void TDumpFiles::DumpReaderStream(const std::function<bool(std::uint8_t&)>& readByte) {
    if (!enabled_) return;
    DumpFile file(path(kReaderStreamDumpFile));
    std::string line;
    std::uint8_t byte = 0;
    while (readByte(byte)) {
        if (byte == kBurstStartCode || byte == kBurstEndCode) line += ' ';
        line += Hex2(byte);
        if (line.size() > kStreamLineLength) {
            file.line(line);
            line.clear();
        }
    }
    file.line(line);
    report(file.close());
}

void TDumpFiles::DumpCaptureTable(const TAnalysisContext& context) {
    if (!enabled_) return;
    DumpFile file(path(kCaptureTableDumpFile));
    const int count = std::clamp(context.recordCount, 0, kCaptureTableSize);
    WriteTable(file, context.captureTable(), count, context.working.carrier_period, context.readerDelay,
               TableKind::Capture);
    report(file.close());
}

void TDumpFiles::DumpAnalysisTable(const TAnalysisContext& context) {
    if (!enabled_) return;
    DumpFile file(path(kAnalysisTableDumpFile));
    const int count = std::clamp(context.recordCount, 0, kAnalysisTableSize);
    WriteTable(file, context.analysisTable(), count, context.working.carrier_period, context.readerDelay,
               TableKind::Analysis);
    report(file.close());
}

void TDumpFiles::DumpVocabulary(const TAnalysisContext& context) {
    if (!enabled_) return;
    DumpFile file(path(kVocabularyDumpFile));
    const TWorkingProtocol& w = context.working;
    file.line("Vocabulary length " + std::to_string(w.vocabulary_count) + ", tick " + DumpFixed(w.tick, 8, 2));
    const int count = std::clamp(w.vocabulary_count, 0, kWorkingVocabularySize);
    for (int n = 0; n < count; ++n) {
        const TVocabularyElement& e = w.vocabulary[static_cast<std::size_t>(n)];
        std::string line = std::to_string(n);
        line += ": Interval=";
        line += DumpFixed(e.mean, 8, 1);
        PadTo(line, kRangeColumn);
        line += '[';
        line += DumpFixed(e.minDuration, 8, 1);
        line += "...";
        line += DumpFixed(e.maxDuration, 8, 1);
        line += ']';
        PadTo(line, kHitsColumn);
        line += "Hits=";
        line += std::to_string(e.members);
        line += ' ';
        if (e.hasPulse) line += "+";
        if (e.hasPause) line += "-";
        PadTo(line, kTicksColumn);
        if (w.tick > 0) line += "ticks=" + DumpFixed(e.mean / w.tick, 8, 3);
        line += "  " + DumpFixed(e.nominal, 8, 3);
        file.line(line);
    }
    report(file.close());
}

void TDumpFiles::DumpFramesBuffer(const TAnalysisContext& context) {
    if (!enabled_) return;
    DumpFile file(path(kFramesBufferDumpFile));
    const TFramesBuffer& buffer = context.framesBuffer;
    const int count = std::clamp(buffer.count, 0, kFramesBufferSize);
    for (int i = 0; i < count; ++i) {
        const Tframes_buf& entry = buffer.entries[static_cast<std::size_t>(i)];
        file.line(std::to_string(entry.button_number) + ":" + std::to_string(entry.record_number) + ":" +
                  std::to_string(entry.frame_number) + " " + entry.code);
    }
    // The frame patterns are worked out by the frame analysis, which keeps a little state of its own while it
    // codes frames (the context is not const when the analysis asks for this dump).
    TAnalysisContext& analysis = const_cast<TAnalysisContext&>(context);
    file.line(" rows: " + FramePattern(analysis, 0) + ", " + FramePattern(analysis, 1));
    file.line("frames structure: " + context.working.format);
    report(file.close());
}

}  // namespace spectrel
