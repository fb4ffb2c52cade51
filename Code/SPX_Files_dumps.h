#pragma once
// The diagnostic dump files, for looking into difficult remote controls: the reader's raw byte stream after
// corrupted data (PicDump.txt), the capture table (Dbg.txt), the analysis table (RawDump.txt), the vocabulary
// (VocDump.txt) and the frames buffer (FrameBuf.txt). They are written only while dumps are switched on (the
// settings key "Debug"); otherwise every dump returns at once and no file is touched. Each dump creates its file
// anew in the dump folder (the program's current directory). Numbers use "." as decimal point.
//
// A dump that cannot be written does not disturb the capture or analysis that asked for it: the first failure
// is kept (FirstError) and shown once in an error box when message boxes are given.

#include <cstdint>
#include <functional>
#include <string>

#include "Code/SPX_Files.h"
#include "Code/SPX_processing.h"

namespace spectrel {

namespace platform {
class MessageBoxes;
}

inline constexpr const char* kReaderStreamDumpFile = "PicDump.txt";
inline constexpr const char* kCaptureTableDumpFile = "Dbg.txt";
inline constexpr const char* kAnalysisTableDumpFile = "RawDump.txt";
inline constexpr const char* kVocabularyDumpFile = "VocDump.txt";
inline constexpr const char* kFramesBufferDumpFile = "FrameBuf.txt";

class TDumpFiles : public TAnalysisDumps {
public:
    // `folder` is where the files go (the program passes its current directory; empty means the current
    // directory as well); `enabled` is the "Debug" setting. The boxes, when given, must outlive the object.
    // Attach it to the analysis context (`context.dumps = &dumpFiles`) to have the capture and analysis write.
    TDumpFiles(std::string folder, bool enabled, platform::MessageBoxes* boxes = nullptr);

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled) { enabled_ = enabled; }
    const std::string& Folder() const { return folder_; }
    // The first dump that failed (ok while none has).
    const TFileResult& FirstError() const { return firstError_; }

    // PicDump.txt: reads the reader's bytes (170 ms each) until none comes, two hexadecimal digits a byte, the
    // burst record codes 0x20 and 0x21 set off by a blank, a new line once a line is longer than 60 characters.
    void DumpReaderStream(TReaderLink& reader) override;
    // The same from any byte source that waits for each byte the way the reader link does.
    void DumpReaderStream(const std::function<bool(std::uint8_t&)>& readByte);
    // Dbg.txt: the capture table, with the carrier frequency of every burst.
    void DumpCaptureTable(const TAnalysisContext& context) override;
    // RawDump.txt: the analysis table, with the durations the pulse-width correction will give.
    void DumpAnalysisTable(const TAnalysisContext& context) override;
    // VocDump.txt: the working vocabulary and its tick.
    void DumpVocabulary(const TAnalysisContext& context) override;
    // FrameBuf.txt: the frames buffer, the frame patterns of records 0 and 1 and the working frame format.
    void DumpFramesBuffer(const TAnalysisContext& context) override;

private:
    std::string path(const char* file) const;
    void report(const TFileResult& result);

    std::string folder_;
    bool enabled_;
    platform::MessageBoxes* boxes_;
    TFileResult firstError_{true, {}};
};

// --- number formats of the dumps

// The shortest general form with up to 15 significant digits (no exponent for ordinary values).
std::string DumpGeneral(double value);
// Fixed notation with `decimals` decimals and at most `precision` significant digits (missing digits written as
// zeros); exponent notation when the value needs more than `precision` digits before the point. Halves are
// rounded away from zero.
std::string DumpFixed(double value, int precision, int decimals);
// Appends blanks until the line has at least `width` characters.
void PadTo(std::string& line, std::size_t width);

}  // namespace spectrel
