// The picture of the latest capture, its SVG form and the capture as a signal to play again.

#include "Code/SPX_CapturePicture.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "Code/SPX_processing.h"
#include "Code/SPX_processing_checks.h"

namespace spectrel {

namespace {

// The frame codes need more than this many records in the analysis table (as FrameCode).
constexpr int kFewestCodedRecords = 5;
// Positions from this on stand for the last frame of a press.
constexpr int kLastFramePosition = 2;

// Fixed notation with `decimals` decimals and a point whatever the locale.
std::string Fixed(double value, int decimals) {
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    return std::string(text, result.ptr);
}

std::string Us(double value) { return Fixed(value, value == std::floor(value) ? 0 : 1) + " us"; }

bool SameEntry(const TIntervalRecord& a, const TIntervalRecord& b) {
    return a.isPulse == b.isPulse && a.recordNumber == b.recordNumber && a.frameNumber == b.frameNumber &&
           a.indexInFrame == b.indexInFrame;
}

// The reference durations of the vocabulary match; only a tolerant match accepts the measured range around one.
using TReference = TReferenceRange;
std::vector<TReference> References(const TAnalysisContext& context, const Tprotocol_descriptor& current) {
    std::vector<TReference> references = ReferenceRanges(context, current);
    if (!context.tolerant) {
        for (TReference& r : references) r.lowest = r.highest = r.nominal;
    }
    return references;
}

// The frame format whose roles the picture shows.
struct TFormatPositions {
    bool known = false;
    std::string format;
    char iLetter = '?', jLetter = '?', xLetter = '?';
    int iPosition = -1, jPosition = -1, xPosition = -1;
    int dataFrom = -1;
};

TFormatPositions PositionsOf(const TAnalysisContext& context, const Tprotocol_descriptor& current) {
    TFormatPositions p;
    if (current.valid) {
        p = {true, current.format, current.i_letter, current.j_letter, current.x_letter,
             current.i_position, current.j_position, current.x_position,
             context.tolerant ? current.tolerant.data_from : -1};
    } else if (!context.working.format.empty()) {
        const TWorkingProtocol& w = context.working;
        p = {true, w.format, w.i_letter, w.j_letter, w.x_letter, w.i_position, w.j_position, w.x_position, -1};
    }
    return p;
}

// Roles of the frames of one record: the frames the protocol takes its codes from (as the button codes are
// extracted), then every other frame that sends one of their codes again.
void AssignRoles(TPictureRecord& record, const TFormatPositions& p) {
    std::vector<TPictureFrame>& frames = record.frames;
    const int count = static_cast<int>(frames.size());
    if (!p.known || count == 0) return;
    const int last = count - 1;
    const auto resolve = [&](int position) { return position < 0 ? -1 : std::min(position, last); };
    const int data = p.iPosition < 0 ? -1 : (p.iPosition < kLastFramePosition ? std::min(p.iPosition, last) : last);
    const int second = p.jLetter != '?' ? resolve(p.jPosition) : -1;
    const int dummy = p.xLetter != '?' ? resolve(p.xPosition) : -1;
    if (dummy >= 0) {
        TFrameRole role = TFrameRole::Dummy;
        if (data >= 0 && dummy < data) role = TFrameRole::Header;
        // A dummy repeated while the key is held after the data frame is the key's repeat code.
        if (data >= 0 && dummy > data && p.xLetter == 'X') role = TFrameRole::Repeat;
        frames[static_cast<std::size_t>(dummy)].role = role;
    }
    if (second >= 0) frames[static_cast<std::size_t>(second)].role = TFrameRole::SecondData;
    if (data >= 0) frames[static_cast<std::size_t>(data)].role = TFrameRole::Data;
    if (p.dataFrom >= 0) {
        for (int f = p.dataFrom; f < count; ++f) frames[static_cast<std::size_t>(f)].role = TFrameRole::Data;
    }
    const int anchors[] = {data, second, dummy};
    for (int f = 0; f < count; ++f) {
        TPictureFrame& frame = frames[static_cast<std::size_t>(f)];
        if (frame.role != TFrameRole::None) continue;
        for (const int anchor : anchors) {
            if (anchor < 0 || frames[static_cast<std::size_t>(anchor)].code != frame.code) continue;
            // Before the frame it copies it plays the same part; after it, it is a repeat.
            frame.role = f < anchor ? frames[static_cast<std::size_t>(anchor)].role : TFrameRole::Repeat;
            break;
        }
    }
}

double FrameRateOfRecord(const TIntervalRecord* table, int begin, int end) {
    if (end - begin < 2) return -1;
    for (int k = begin + 1; k < end; ++k) {
        if (table[k].frameNumber >= 1) return std::nearbyint((table[k].time - table[begin + 1].time) / 100.0) / 10.0;
    }
    return -1;
}

}  // namespace

const char* FrameRoleName(TFrameRole role) {
    switch (role) {
        case TFrameRole::Data: return "data";
        case TFrameRole::SecondData: return "second data";
        case TFrameRole::Dummy: return "dummy";
        case TFrameRole::Header: return "header";
        case TFrameRole::Repeat: return "repeat";
        case TFrameRole::None: break;
    }
    return "none";
}

std::uint32_t FrameRoleColour(TFrameRole role) {
    switch (role) {
        case TFrameRole::Data: return 0x0000FF;
        case TFrameRole::SecondData: return 0x800000;
        case TFrameRole::Dummy: return 0x008080;
        case TFrameRole::Header: return 0xFF00FF;
        case TFrameRole::Repeat: return 0x808080;
        case TFrameRole::None: break;
    }
    return 0x000000;
}

TCapturePicture BuildCapturePicture(const TAnalysisContext& context, const Tprotocol_descriptor& current) {
    TCapturePicture picture;
    const int count = std::clamp(context.recordCount, 0, kCaptureTableSize);
    const TIntervalRecord* captured = context.captureTable();
    const TIntervalRecord* analysed = context.analysisTable();
    const double adjustment = context.parameters().clockAdjustment();
    const TWorkingProtocol& w = context.working;
    const double carrier = w.carrier_period;

    const std::vector<TReference> references = References(context, current);
    for (const TReference& r : references) picture.references.push_back(r.nominal);
    picture.vocabularyWindow = VocabularyWindow(carrier, references.empty() ? 0.0 : references.front().nominal);
    picture.vocabularyCount = std::clamp(w.vocabulary_count, 0, kWorkingVocabularySize);
    picture.tick = picture.vocabularyCount > 0 && w.tick > 0 ? w.tick : 0;
    picture.protocolValid = current.valid;
    picture.protocolName = current.valid ? current.name : std::string();
    const TFormatPositions positions = PositionsOf(context, current);
    picture.format = positions.format;

    // The analysis copy belongs to the capture when each entry matches; an entry that does not (the capture
    // table grew since the last copy) is taken from the capture with the clock adjustment.
    std::vector<TIntervalRecord> entries(static_cast<std::size_t>(count));
    for (int k = 0; k < count; ++k) {
        TIntervalRecord e = analysed[k];
        if (!SameEntry(e, captured[k])) {
            e = captured[k];
            e.time *= adjustment;
            e.duration *= adjustment;
        }
        entries[static_cast<std::size_t>(k)] = e;
    }
    const bool coded = count >= kFewestCodedRecords;

    int recordBegin = 0;
    double pendingGap = 0;
    double pendingCapturedGap = 0;
    for (int k = 0; k < count; ++k) {
        const TIntervalRecord& e = entries[static_cast<std::size_t>(k)];
        if (k == 0 || e.recordNumber != entries[static_cast<std::size_t>(k - 1)].recordNumber) {
            if (!picture.records.empty()) {
                picture.records.back().frameRate = FrameRateOfRecord(entries.data(), recordBegin, k);
                picture.records.back().carrierPeriod =
                    CarrierPeriodOf(captured, recordBegin + 1, k - 1, context.readerDelay, adjustment, adjustment);
            }
            recordBegin = k;
            picture.records.push_back({});
            picture.records.back().recordNumber = e.recordNumber;
            picture.records.back().buttonNumber = e.buttonNumber;
            pendingGap = 0;
            pendingCapturedGap = 0;
        }
        TPictureRecord& record = picture.records.back();
        if (e.frameNumber < 0) {
            // The silence before a frame (the closing entry has none).
            if (e.duration > 0) {
                pendingGap = e.duration;
                pendingCapturedGap = captured[k].duration;
            }
            continue;
        }
        if (record.frames.empty() || record.frames.back().number != e.frameNumber) {
            record.frames.push_back({});
            record.frames.back().number = e.frameNumber;
            record.frames.back().gapBefore = pendingGap;
            record.frames.back().capturedGapBefore = pendingCapturedGap;
            pendingGap = 0;
            pendingCapturedGap = 0;
        }
        TPictureFrame& frame = record.frames.back();
        TPictureInterval interval;
        interval.start = frame.length;
        interval.duration = std::max(e.duration, 0.0);
        interval.captured = captured[k].duration;
        interval.isPulse = e.isPulse;
        interval.carrierCycles = e.carrierCycles;
        frame.length += interval.duration;

        // The letter, as the frame's code writes it.
        if (coded && e.duration > 0) {
            if (carrier != 0) {
                if (e.isPulse || !frame.code.empty()) {
                    interval.element = NearestElement(context, e.duration);
                    interval.letter = interval.element < 0 ? '?'
                                      : e.isPulse          ? PulseLetter(interval.element)
                                                           : PauseLetter(interval.element);
                }
            } else if (!e.isPulse) {
                double sum = e.duration;
                if (k > 0 && entries[static_cast<std::size_t>(k - 1)].isPulse)
                    sum += entries[static_cast<std::size_t>(k - 1)].duration;
                interval.element = NearestElement(context, sum);
                interval.letter = interval.element < 0 ? '?' : PauseLetter(interval.element);
            }
            if (interval.letter != 0) frame.code += interval.letter;
            if (interval.element >= 0) interval.nominal = w.vocabulary[static_cast<std::size_t>(interval.element)].nominal;
        }

        // The vocabulary match, as the check of a button capture makes it.
        if (k >= 1 && e.indexInFrame > 0) {
            double v = e.duration;
            if (carrier <= 0) {
                if (e.isPulse) {
                    const bool nextInFrame = k + 1 < count && entries[static_cast<std::size_t>(k + 1)].frameNumber >= 0;
                    v = nextInFrame ? e.duration + entries[static_cast<std::size_t>(k + 1)].duration : 0;
                } else {
                    v = e.duration + entries[static_cast<std::size_t>(k - 1)].duration;
                }
            }
            if (v > 0) {
                interval.checked = true;
                interval.compared = v;
                interval.matched = false;
                for (const TReference& r : references) {
                    const double distance = std::max({0.0, r.lowest - v, v - r.highest});
                    if (interval.distance < 0 || distance < interval.distance) {
                        interval.distance = distance;
                        interval.reference = r.nominal;
                    }
                }
                interval.matched = interval.distance >= 0 && interval.distance < picture.vocabularyWindow;
                if (!interval.matched) {
                    ++frame.unmatched;
                    ++picture.unmatchedCount;
                }
            }
        }
        frame.intervals.push_back(interval);
        ++picture.intervalCount;
    }
    if (!picture.records.empty()) {
        picture.records.back().frameRate = FrameRateOfRecord(entries.data(), recordBegin, count);
        picture.records.back().carrierPeriod =
            CarrierPeriodOf(captured, recordBegin + 1, count - 1, context.readerDelay, adjustment, adjustment);
    }

    for (TPictureRecord& record : picture.records) {
        AssignRoles(record, positions);
        for (const TPictureFrame& frame : record.frames) picture.longestFrame = std::max(picture.longestFrame, frame.length);
    }

    // The tolerance tests of a button capture, on the whole table as the checks make them.
    picture.measuredCarrier = CarrierPeriodOf(captured, 1, count - 1, context.readerDelay, adjustment, adjustment);
    picture.measuredFrameRate = picture.records.empty() ? -1 : picture.records.front().frameRate;
    picture.protocolCarrier = current.valid ? current.carrier_period : -1;
    picture.protocolFrameRate = current.valid ? current.frame_rate : -1;
    if (current.valid && count >= 2) {
        const double tolerance = MatchTolerance(context);
        picture.carrierOutside = CarrierOutside(picture.measuredCarrier, current.carrier_period, tolerance);
        const bool judged = !(context.tolerant && current.tolerant.data_from >= 0);
        picture.frameRateOutside = judged && FrameRateOutside(picture.measuredFrameRate, current, tolerance);
    }
    return picture;
}

std::vector<std::string> CapturePictureComplaints(const TCapturePicture& picture) {
    std::vector<std::string> lines;
    if (picture.unmatchedCount > 0) {
        lines.push_back(std::to_string(picture.unmatchedCount) +
                        (picture.unmatchedCount == 1 ? " interval matches" : " intervals match") +
                        " no vocabulary element (window " + Us(picture.vocabularyWindow) + "):");
        constexpr int kListed = 6;
        int listed = 0;
        for (const TPictureRecord& record : picture.records) {
            for (const TPictureFrame& frame : record.frames) {
                for (std::size_t i = 0; i < frame.intervals.size() && listed < kListed; ++i) {
                    const TPictureInterval& interval = frame.intervals[i];
                    if (!interval.checked || interval.matched) continue;
                    std::string line = "  record " + std::to_string(record.recordNumber) + ", frame " +
                                       std::to_string(frame.number) + ", interval " + std::to_string(i) + ": " +
                                       (interval.isPulse ? "pulse " : "pause ") + Us(interval.compared);
                    line += interval.distance < 0 ? ", no reference duration"
                                                  : ", nearest " + Us(interval.reference) + " is " +
                                                        Us(interval.distance) + " away";
                    lines.push_back(line);
                    ++listed;
                }
            }
        }
        if (picture.unmatchedCount > listed) lines.push_back("  ... and " + std::to_string(picture.unmatchedCount - listed) + " more");
    }
    if (picture.frameRateOutside) {
        lines.push_back("Frame rate " + Fixed(picture.measuredFrameRate, 1) + " ms, the protocol's " +
                        Fixed(picture.protocolFrameRate, 1) + " ms");
    }
    if (picture.carrierOutside) {
        lines.push_back("Carrier period " + Fixed(picture.measuredCarrier, 1) + " us, the protocol's " +
                        Fixed(picture.protocolCarrier, 1) + " us");
    }
    return lines;
}

std::string IntervalHint(const TPictureInterval& interval, const TCapturePicture& picture) {
    std::string hint = std::string(interval.isPulse ? "Pulse " : "Pause ") + Us(interval.duration);
    if (interval.captured != interval.duration) hint += " (captured " + Us(interval.captured) + ")";
    if (interval.element >= 0) {
        hint += "\nNominal " + Us(interval.nominal) + ", element " + std::to_string(interval.element) + " '" +
                std::string(1, interval.letter) + "'";
    } else if (interval.letter == '?') {
        hint += "\nNo vocabulary element";
    } else {
        hint += "\nNot coded";
    }
    if (interval.isPulse) hint += "\nCarrier cycles " + std::to_string(interval.carrierCycles);
    if (interval.checked) {
        if (interval.distance < 0) {
            hint += "\nOutside the vocabulary: no reference duration";
        } else {
            hint += std::string(interval.matched ? "\nIn the vocabulary: " : "\nOutside the vocabulary: ") +
                    Us(interval.compared) + " is " + Us(interval.distance) + " from " + Us(interval.reference) +
                    " (window " + Us(picture.vocabularyWindow) + ")";
        }
    }
    return hint;
}

std::string RecordCaption(const TPictureRecord& record) {
    std::string caption = "Record " + std::to_string(record.recordNumber) + ", button " +
                          std::to_string(record.buttonNumber) + ": " + std::to_string(record.frames.size()) +
                          (record.frames.size() == 1 ? " frame" : " frames");
    if (record.carrierPeriod > 0) {
        caption += ", carrier " + Fixed(record.carrierPeriod, 1) + " us (" + Fixed(1000.0 / record.carrierPeriod, 1) +
                   " kHz)";
    } else {
        caption += ", no carrier";
    }
    if (record.frameRate > 0) caption += ", frame rate " + Fixed(record.frameRate, 1) + " ms";
    return caption;
}

std::string FrameCaption(const TPictureFrame& frame) {
    std::string caption = "F" + std::to_string(frame.number);
    if (frame.role != TFrameRole::None) caption += std::string(" ") + FrameRoleName(frame.role);
    return caption;
}

TPictureLayout LayoutCapturePicture(const TCapturePicture& picture, double extraTop) {
    TPictureLayout layout;
    double y = TPictureLayout::kTopMargin + extraTop;
    for (std::size_t r = 0; r < picture.records.size(); ++r) {
        layout.recordTops.push_back(y);
        y += TPictureLayout::kRecordHeader;
        for (std::size_t f = 0; f < picture.records[r].frames.size(); ++f) {
            layout.rows.push_back({static_cast<int>(r), static_cast<int>(f), y});
            y += TPictureLayout::kRowHeight;
        }
        y += TPictureLayout::kRowHeight / 3;
    }
    layout.height = y;
    return layout;
}

namespace {

std::string Colour(std::uint32_t rgb) {
    static const char* const kDigits = "0123456789abcdef";
    std::string text = "#";
    for (int shift = 20; shift >= 0; shift -= 4) text += kDigits[(rgb >> shift) & 0xF];
    return text;
}

std::string XmlText(const std::string& text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default:
                // Letters of a large working vocabulary are bytes above 127; XML wants characters.
                if (static_cast<unsigned char>(c) >= 0x80) {
                    out += "&#" + std::to_string(static_cast<unsigned char>(c)) + ";";
                } else if (static_cast<unsigned char>(c) >= 0x20 || c == '\n') {
                    out += c;
                }
        }
    }
    return out;
}

std::string Px(double value) { return Fixed(value, 1); }

}  // namespace

std::string SvgOfCapturePicture(const TCapturePicture& picture, double width, int titledIntervals) {
    const std::vector<std::string> complaints = CapturePictureComplaints(picture);
    const double lineHeight = 15;
    const double extraTop = lineHeight * static_cast<double>(complaints.size());
    const TPictureLayout layout = LayoutCapturePicture(picture, extraTop);
    const double plot = std::max(width - TPictureLayout::kLeftMargin - TPictureLayout::kRightMargin, 100.0);
    const double scale = picture.longestFrame > 0 ? plot / picture.longestFrame : 0;  // px per us
    const double left = TPictureLayout::kLeftMargin;
    const double height = std::max(layout.height, TPictureLayout::kTopMargin + extraTop + 40);
    const bool titleAll = picture.intervalCount <= titledIntervals;

    std::string svg;
    svg.reserve(static_cast<std::size_t>(picture.intervalCount) * 80 + 4096);
    svg += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + Px(width) + "\" height=\"" + Px(height) +
           "\" viewBox=\"0 0 " + Px(width) + " " + Px(height) + "\" font-family=\"sans-serif\" font-size=\"11\">\n";
    svg += "<rect x=\"0\" y=\"0\" width=\"" + Px(width) + "\" height=\"" + Px(height) + "\" fill=\"#ffffff\"/>\n";

    // Summary and complaints.
    std::string summary = picture.empty() ? "No capture" : std::to_string(picture.records.size()) +
                                                               (picture.records.size() == 1 ? " record" : " records");
    if (picture.tick > 0) summary += ", tick " + Us(picture.tick);
    if (!picture.format.empty()) summary += ", format " + picture.format;
    if (picture.protocolValid) summary += ", protocol " + picture.protocolName;
    svg += "<text x=\"8\" y=\"16\" font-weight=\"bold\">" + XmlText(summary) + "</text>\n";
    double y = 16 + lineHeight;
    for (const std::string& line : complaints) {
        svg += "<text x=\"8\" y=\"" + Px(y) + "\" fill=\"" + Colour(kOutsideVocabularyColour) + "\" xml:space=\"preserve\">" +
               XmlText(line) + "</text>\n";
        y += lineHeight;
    }

    // Time scale: a mark every power of ten that leaves room for its label.
    if (scale > 0) {
        double step = 1;
        while (step * scale < 70) step *= 10;
        if (step / 2 * scale >= 70) step /= 2;
        const double axisY = TPictureLayout::kTopMargin + extraTop - 8;
        svg += "<g stroke=\"#888888\" stroke-width=\"1\">\n";
        for (double t = 0; t <= picture.longestFrame; t += step) {
            svg += "<line x1=\"" + Px(left + t * scale) + "\" y1=\"" + Px(axisY - 4) + "\" x2=\"" + Px(left + t * scale) +
                   "\" y2=\"" + Px(axisY) + "\"/>\n";
        }
        svg += "</g>\n<g fill=\"#555555\">\n";
        for (double t = 0; t <= picture.longestFrame; t += step) {
            const std::string label = step >= 1000 ? Fixed(t / 1000, step >= 10000 ? 0 : 1) + " ms" : Fixed(t, 0) + " us";
            svg += "<text x=\"" + Px(left + t * scale + 2) + "\" y=\"" + Px(axisY - 6) + "\">" + label + "</text>\n";
        }
        svg += "</g>\n";
    }

    // Tick grid: faint lines every tick, or every few ticks where they would crowd.
    if (picture.tick > 0 && scale > 0 && !layout.rows.empty()) {
        double every = picture.tick;
        while (every * scale < 4) every *= 2;
        const double top = layout.recordTops.front();
        svg += "<g stroke=\"" + Colour(kTickGridColour) + "\" stroke-width=\"1\">\n";
        for (double t = 0; t <= picture.longestFrame; t += every) {
            svg += "<line x1=\"" + Px(left + t * scale) + "\" y1=\"" + Px(top) + "\" x2=\"" + Px(left + t * scale) +
                   "\" y2=\"" + Px(layout.height) + "\"/>\n";
        }
        svg += "</g>\n";
    }

    for (std::size_t r = 0; r < picture.records.size(); ++r) {
        const bool outside = r == 0 && (picture.frameRateOutside || picture.carrierOutside);
        svg += "<text x=\"8\" y=\"" + Px(layout.recordTops[r] + 14) + "\" font-weight=\"bold\"" +
               (outside ? " fill=\"" + Colour(kOutsideVocabularyColour) + "\"" : std::string()) + ">" +
               XmlText(RecordCaption(picture.records[r])) + "</text>\n";
    }
    for (const TPictureLayout::TRow& row : layout.rows) {
        const TPictureFrame& frame = picture.records[static_cast<std::size_t>(row.record)].frames[static_cast<std::size_t>(row.frame)];
        const std::string colour = Colour(FrameRoleColour(frame.role));
        const double markTop = row.top + TPictureLayout::kLetterBand + 3;
        svg += "<text x=\"8\" y=\"" + Px(markTop + 11) + "\" fill=\"" + colour + "\">" + XmlText(FrameCaption(frame)) +
               "</text>\n";
        svg += "<line x1=\"" + Px(left) + "\" y1=\"" + Px(markTop + TPictureLayout::kMarkHeight) + "\" x2=\"" +
               Px(left + frame.length * scale) + "\" y2=\"" + Px(markTop + TPictureLayout::kMarkHeight) +
               "\" stroke=\"#bbbbbb\" stroke-width=\"1\"/>\n";
        svg += "<g fill=\"" + colour + "\">\n";
        for (const TPictureInterval& interval : frame.intervals) {
            const double x = left + interval.start * scale;
            const double w = std::max(interval.duration * scale, 0.5);
            const bool outside = interval.checked && !interval.matched;
            const bool titled = titleAll || outside;
            if (interval.isPulse || outside) {
                svg += "<rect x=\"" + Px(x) + "\" y=\"" + Px(markTop) + "\" width=\"" + Px(w) + "\" height=\"" +
                       Px(TPictureLayout::kMarkHeight) + "\"";
                if (outside) {
                    svg += interval.isPulse ? " fill=\"" + Colour(kOutsideVocabularyColour) + "\""
                                            : " fill=\"" + Colour(kOutsideVocabularyColour) +
                                                  "\" fill-opacity=\"0.25\" stroke=\"" +
                                                  Colour(kOutsideVocabularyColour) + "\" stroke-width=\"1\"";
                }
                if (titled) {
                    svg += "><title>" + XmlText(IntervalHint(interval, picture)) + "</title></rect>\n";
                } else {
                    svg += "/>\n";
                }
            }
            if (interval.letter != 0 && w >= 7) {
                svg += "<text x=\"" + Px(x + w / 2) + "\" y=\"" + Px(row.top + TPictureLayout::kLetterBand) +
                       "\" text-anchor=\"middle\"" +
                       (outside ? " fill=\"" + Colour(kOutsideVocabularyColour) + "\"" : std::string()) + ">" +
                       XmlText(std::string(1, interval.letter)) + "</text>\n";
            }
        }
        svg += "</g>\n";
    }
    svg += "</svg>\n";
    return svg;
}

TCapturedSignal CapturedSignalOf(const TCapturePicture& picture, int record, double readerDelay) {
    TCapturedSignal signal;
    if (record < 0 || record >= static_cast<int>(picture.records.size())) return signal;
    const TPictureRecord& r = picture.records[static_cast<std::size_t>(record)];
    signal.name = "Record " + std::to_string(r.recordNumber);
    const double period = r.carrierPeriod;
    signal.carrierHz = period > 0 ? static_cast<int>(std::lround(1e6 / period)) : 0;
    // The board reports each burst end late: the delay less one carrier period.
    const double late = std::nearbyint(readerDelay - std::max(period, 0.0));
    const auto append = [&](bool mark, double duration) {
        if (!(duration > 0)) return;
        const bool isMark = signal.durations.size() % 2 == 0;
        if (signal.durations.empty() && !mark) return;  // a signal starts with its first mark
        if (isMark == mark) {
            signal.durations.push_back(duration);
        } else {
            // Two marks (or spaces) in a row: a glitch between them was dropped, they are one.
            signal.durations.back() += duration;
        }
    };
    for (std::size_t f = 0; f < r.frames.size(); ++f) {
        const TPictureFrame& frame = r.frames[f];
        if (f > 0) append(false, frame.capturedGapBefore + late);
        for (const TPictureInterval& interval : frame.intervals) {
            append(interval.isPulse, interval.captured + (interval.isPulse ? -late : late));
        }
    }
    if (signal.durations.size() % 2 == 0 && !signal.durations.empty()) signal.durations.pop_back();  // ends with a mark
    for (double& d : signal.durations) d = std::max(d, 1.0);
    return signal;
}

}  // namespace spectrel
