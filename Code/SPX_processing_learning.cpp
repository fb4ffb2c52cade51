// The protocol and button learning procedures.

#include "Code/SPX_processing_learning.h"

#include <cmath>
#include <functional>
#include <utility>

#include "Code/SPX_ComPortUnit.h"
#include "Code/SPX_Data_ButtonCodes.h"
#include "Code/SPX_replace.h"
#include "Code/uKOR_SpectrelIni.h"

namespace spectrel {

namespace {

using platform::MessageButton;
using platform::MessageKind;
namespace text = learning_text;

constexpr char kQuote = '"';

std::string Trimmed(const std::string& s) {
    const auto begin = s.find_first_not_of(' ');
    if (begin == std::string::npos) return {};
    const auto end = s.find_last_not_of(' ');
    return s.substr(begin, end - begin + 1);
}

// Runs its action when the scope ends, also when an error escapes it.
class TScopeExit {
public:
    explicit TScopeExit(std::function<void()> action) : action_(std::move(action)) {}
    ~TScopeExit() {
        if (action_) action_();
    }
    TScopeExit(const TScopeExit&) = delete;
    TScopeExit& operator=(const TScopeExit&) = delete;

private:
    std::function<void()> action_;
};

// The explored length rule after an accepted change: the first change fixes the new length, every later one
// makes it "longer than" four fifths of it.
int ExploredLength(int codeLength, bool changedBefore) { return changedBefore ? -(8 * codeLength / 10) : codeLength; }

}  // namespace

TLearningOptions LearningOptionsFrom(const TSpectrelIniObject& options) {
    TLearningOptions result;
    result.MatchToStandardProtocol = options.MatchToStandardProtocol;
    result.UseSubstutionRules = options.UseSubstutionRules;
    result.SubsBinByHex = options.SubsBinByHex;
    result.TolerantLearning = options.TolerantLearning;
    return result;
}

std::string DummyMismatchText(const std::string& received, const std::string& expected) {
    return std::string("Received dummy frame ") + kQuote + received + kQuote + "\r" +
           "does not match described in protocol " + kQuote + expected + kQuote;
}

std::string DuplicateCodeText(const std::string& recordedButton, const std::string& name) {
    return std::string("This frame already recorded fo button ") + kQuote + recordedButton + kQuote + "\r" +
           "Do you wish to use that code for button " + kQuote + name + kQuote + " as well?";
}

std::string PressButtonText(const std::string& name) { return text::kPressButtonPrefix + name + "\r"; }

TLearningProcedures::TLearningProcedures(TLearningModel model, TLearningWindow& window)
    : model_(model), window_(window) {}

bool TLearningProcedures::OpenPort() {
    const TReaderPortOpenResult opened = model_.reader.OpenReaderPort();
    if (opened.ok) return true;
    model_.boxes.show(MessageKind::Error, opened.message, MessageButton::Ok);
    return false;
}

void TLearningProcedures::Describe(TColouredList* list, const Tprotocol_descriptor& descriptor, bool clear) {
    window_.ShowProtocolName(descriptor.name);
    if (list != nullptr) WriteProtocolDescription(*list, descriptor, clear);
    window_.UpdateCommandStates(!busy_);
    window_.RefreshButtonGrid();
}

void TLearningProcedures::DescribeProtocol(TColouredList* list, bool clear) { Describe(list, model_.current, clear); }

// --- protocol learning

void TLearningProcedures::LearnProtocol(TCaptureProgressBar* progressBar, TColouredList* displayList,
                                        TColouredList* descriptionList) {
    TAnalysisContext& context = model_.context;
    Tprotocol_descriptor& current = model_.current;
    context.tolerant = options.TolerantLearning;
    if (!OpenPort()) {
        model_.reader.CloseReaderPort();
        return;
    }
    bool closing = false;
    const TScopeExit closePort([&] {
        busy_ = false;
        // An error before the closing steps still leaves the commands usable.
        if (!closing) window_.UpdateCommandStates(true);
        model_.reader.CloseReaderPort();
    });

    if (model_.boxes.show(MessageKind::Warning, text::kLoseEverything, MessageButton::Ok | MessageButton::Cancel) !=
        MessageButton::Ok) {
        closing = true;
        return;
    }

    busy_ = true;
    window_.ResetDecodingSettingsChanged();
    window_.ShowProtocolName("");
    ClearDescriptor(current);
    model_.buttons.ClearAllCodes();
    model_.exploreList.ClearAllCodes();
    window_.RefreshButtonGrid();
    if (TColouredList* protocolList = window_.ProtocolList()) protocolList->Clear();
    if (displayList != nullptr) displayList->Clear();
    if (descriptionList != nullptr) descriptionList->Clear();
    window_.UpdateCommandStates(false);
    // No vocabulary and an unknown carrier: the first capture is checked without either.
    context.working.vocabulary_count = 0;
    context.working.carrier_period = -1;
    context.recordCount = 0;
    context.framesBuffer.Clear();
    model_.reader.ResetReader();

    if (model_.boxes.show(MessageKind::Information, text::kFirstPress, MessageButton::Ok | MessageButton::Abort) ==
        MessageButton::Ok) {
        if (displayList != nullptr) displayList->Add(text::kCapturingFirst);
        if (CaptureLearningRecords(progressBar, displayList, descriptionList)) {
            FinalAnalysis(displayList, descriptionList);
        }
    }

    // Closing.
    closing = true;
    ResetRulesForProtocol(model_.rules, current);
    busy_ = false;
    window_.UpdateCommandStates(true);
    if (context.dumps != nullptr) context.dumps->DumpFramesBuffer(context);
    Describe(window_.ProtocolList(), current, true);
}

bool TLearningProcedures::CaptureLearningRecords(TCaptureProgressBar* progressBar, TColouredList* displayList,
                                                 TColouredList* descriptionList) {
    TAnalysisContext& context = model_.context;
    Tprotocol_descriptor& current = model_.current;
    int record = 0;
    int button = 0;
    int kept = 0;
    bool moveOn = false;
    for (;;) {
        context.recordCount = kept;
        const int frames = Capture(context, model_.reader, record, button, progressBar, displayList);
        if (displayList != nullptr) displayList->restoreNormalColour();
        ResetReaderAfterCapture(model_.reader);
        if (frames <= 0) {
            context.recordCount = kept;
            if (!model_.reader.ReaderPortFailure().empty()) {
                // Retrying cannot help: say what happened once and stop.
                model_.boxes.show(MessageKind::Error, model_.reader.ReaderLostMessage(), MessageButton::Ok);
                current.valid = false;
                return false;
            }
            if (model_.boxes.show(MessageKind::Error, text::kNoFramesRecorded,
                                  MessageButton::Abort | MessageButton::Retry) == MessageButton::Abort) {
                current.valid = false;
                return false;
            }
            continue;
        }

        CopyForAnalysis(context);
        if (context.dumps != nullptr) context.dumps->DumpAnalysisTable(context);
        if (displayList != nullptr) {
            displayList->Add("Record " + std::to_string(record) + ": " + std::to_string(frames) + " frame" +
                             (frames == 1 ? "" : "s") + " captured");
        }
        std::string message;
        if (!CheckCapture(context, message)) {
            const MessageButton answer =
                model_.boxes.show(MessageKind::Error, "Errors: " + message + "\r" + text::kAcceptRecord,
                                  MessageButton::Ok | MessageButton::Abort | MessageButton::Retry);
            if (answer == MessageButton::Abort) {
                context.recordCount = kept;
                current.valid = false;
                return false;
            }
            if (answer == MessageButton::Retry) {
                context.recordCount = kept;
                if (displayList != nullptr && displayList->Count() > 0) displayList->Delete(displayList->Count() - 1);
                continue;
            }
            // A box closed without an answer captures again; its line stays.
            if (answer != MessageButton::Ok) continue;
        }

        // Accepted: the record stays in the table and everything captured so far is analysed again.
        if (AnalyseProtocol(context, current) && descriptionList != nullptr) {
            Tprotocol_descriptor sofar;
            DescriptorFromWorkingState(sofar, context.working);
            sofar.valid = true;
            // Appended: the window and the wizard pass their message list as the description list as well.
            Describe(descriptionList, sofar, false);
        }
        kept = context.recordCount;
        FillFramesBuffer(context);
        if (RecordsIdentical(context, button, 0, 1)) moveOn = true;

        ++record;
        if (record > 2 || button > 1) return true;
        // After two presses of the first key the procedure always moves on.
        if (record == 2 && button == 0) moveOn = true;
        if (moveOn) {
            if (displayList != nullptr) {
                displayList->Add("");
                displayList->Add(text::kCapturingNext);
            }
            ++button;
            if (model_.boxes.show(MessageKind::Warning, text::kAnotherButton,
                                  MessageButton::Ok | MessageButton::Abort) == MessageButton::Abort) {
                current.valid = false;
                return false;
            }
        } else if (model_.boxes.show(MessageKind::Warning, text::kSameButton,
                                     MessageButton::Ok | MessageButton::Abort) == MessageButton::Abort) {
            current.valid = false;
            return true;
        }
        moveOn = false;
    }
}

void TLearningProcedures::FinalAnalysis(TColouredList* displayList, TColouredList* descriptionList) {
    TAnalysisContext& context = model_.context;
    TWorkingProtocol& working = context.working;
    Tprotocol_descriptor& current = model_.current;

    const bool analysed = AnalyseProtocol(context, current);
    current.format = working.format;
    DescriptorFromWorkingState(current, working);
    current.valid = analysed;
    CopyDescriptor(current, model_.learnedCopy);

    const int match = options.MatchToStandardProtocol ? MatchLearnedProtocol(context, model_.standards, current) : -1;
    if (match >= 0) {
        CopyStandardProtocol(model_.standards, match, current);
    } else {
        current.name = text::kLearnedProtocolName;
    }

    working.format = current.format;
    if (displayList != nullptr) displayList->Add("Frames: \003" + FormatDescription(context));

    current.i_length = FrameCodeLength(current, working.data_code, working);
    current.j_length = FrameCodeLength(current, working.second_data_code, working);
    // A data frame that is not the same in the three presses may hold more than its length.
    if (!FrameSameAcrossButtons(context, current.i_position)) current.i_length = -current.i_length;
    if (context.tolerant && current.valid) {
        TakeVaryingFramesAsData(context, current);
    }
    Describe(descriptionList, current, false);
}

int FirstVaryingFrame(const TAnalysisContext& context) {
    const int frames = std::max(RecordFrameCount(context, 0, 0), RecordFrameCount(context, 1, 0));
    for (int f = 0; f < frames; ++f) {
        // A frame that only one of the keys sent differs as well.
        const auto code = [&](int button) {
            return f < RecordFrameCount(context, button, 0) ? BufferedFrameCode(context, button, 0, f) : std::string();
        };
        if (code(0) != code(1)) return f;
    }
    return -1;
}

namespace {

// Presses of this many frames, each sent once, hold state beyond the I and J frames.
constexpr int kStateFrames = 3;

// No frame of the first press of the button repeats an earlier one (nothing is sent again while held).
bool FramesSentOnce(const TAnalysisContext& context, int button) {
    const int frames = RecordFrameCount(context, button, 0);
    for (int f = 1; f < frames; ++f) {
        for (int earlier = 0; earlier < f; ++earlier) {
            if (BufferedFrameCode(context, button, 0, f) == BufferedFrameCode(context, button, 0, earlier)) return false;
        }
    }
    return frames > 0;
}

}  // namespace

void TakeVaryingFramesAsData(const TAnalysisContext& context, Tprotocol_descriptor& current) {
    current.tolerant.data_from = -1;
    const auto sameForBothKeys = [&](int position) {
        if (position < 0) return true;
        const int frame = position < 2 ? position : RecordFrameCount(context, 0, 0) - 1;
        return BufferedFrameCode(context, 0, 0, frame) == BufferedFrameCode(context, 1, 0, frame);
    };
    const bool dataTellsKeysApart =
        current.i_letter != '?' && (!sameForBothKeys(current.i_position) ||
                                    (current.j_letter != '?' && !sameForBothKeys(current.j_position)));
    // Frames sent once each, three or more of them or as many as the key needs: every frame may carry state.
    const int frames0 = RecordFrameCount(context, 0, 0);
    const int frames1 = RecordFrameCount(context, 1, 0);
    const bool sections = FramesSentOnce(context, 0) && FramesSentOnce(context, 1) &&
                          (std::min(frames0, frames1) >= kStateFrames || frames0 != frames1);
    if (dataTellsKeysApart && !sections) return;
    const int first = FirstVaryingFrame(context);
    if (first < 0) return;
    // Two presses of one key cut at different lengths are no sign of frames that carry data.
    if (!sections && first >= std::min(frames0, frames1)) return;
    current.tolerant.data_from = first;
    std::string data;
    for (int f = first; f < frames0; ++f) data += BufferedFrameCode(context, 0, 0, f);
    // The frames of a setting may be cut short or grow with the setting: "at least" the first key's length.
    current.i_length = -FrameCodeLength(current, data, context.working);
}

// --- button learning

bool TLearningProcedures::LearnButton(const std::string& name, bool& stopRequest, TCaptureProgressBar* progressBar,
                                      std::string& data, std::string& data2) {
    TAnalysisContext& context = model_.context;
    const Tprotocol_descriptor& current = model_.current;
    platform::MessageBoxes& boxes = model_.boxes;

    context.tolerant = options.TolerantLearning;
    window_.EnableMainWindow(false);
    const int vocabulary = current.vocabulary_count;
    const TScopeExit restore([&] {
        // A vocabulary extended by the capture is shown at once.
        if (current.vocabulary_count != vocabulary) Describe(window_.ProtocolList(), current, true);
        window_.EnableMainWindow(true);
        model_.reader.CloseReaderPort();
    });
    if (!OpenPort()) {
        // A port that cannot be opened now will not open for the next button either.
        stopRequest = true;
        return false;
    }

    for (;;) {
        const int captured = CaptureButton(context, model_.reader, model_.current, progressBar, nullptr);
        if (captured != kButtonCaptured) {
            if (captured == kButtonCaptureAborted) stopRequest = true;
            return false;
        }
        FillFramesBuffer(context);
        std::string dummy;
        ExtractButtonCodes(context, current, data, data2, dummy);

        // Each failing check asks; Retry captures again at once, Abort asks for a stop and goes on.
        bool retry = false;
        const auto ask = [&](MessageKind kind, const std::string& message, platform::MessageButtons buttons) {
            const MessageButton answer = boxes.show(kind, message, buttons);
            if (answer == MessageButton::Retry) retry = true;
            if (answer == MessageButton::Abort) stopRequest = true;
            return !retry;
        };
        const platform::MessageButtons abortRetry = MessageButton::Abort | MessageButton::Retry;
        if (data.empty() && !ask(MessageKind::Error, text::kDataFrameMissed, abortRetry)) continue;
        if (FrameRateDiffers(context, current) && !ask(MessageKind::Error, text::kFrameRateDiffers, abortRetry)) {
            continue;
        }
        if (CarrierDiffers(context, current) && !ask(MessageKind::Error, text::kCarrierDiffers, abortRetry)) continue;
        // Without a dummy frame in the protocol an empty data code was reported above already.
        if (!current.dummy_code.empty() && data == current.dummy_code &&
            !ask(MessageKind::Error, text::kDataFrameMissed, abortRetry)) {
            continue;
        }
        if (!dummy.empty() && dummy != current.dummy_code &&
            !ask(MessageKind::Warning, DummyMismatchText(dummy, current.dummy_code),
                 MessageButton::Retry | MessageButton::Ignore)) {
            continue;
        }
        const TFrameLengthCheck length =
            CheckFrameLength(current.i_length, FrameCodeLength(current, data, context.working));
        if (length == TFrameLengthCheck::TooShort &&
            !ask(MessageKind::Warning, text::kShorter, MessageButton::Ok | MessageButton::Retry)) {
            continue;
        }
        if (length == TFrameLengthCheck::TooLong &&
            !ask(MessageKind::Warning, text::kLonger, MessageButton::Ok | MessageButton::Retry)) {
            continue;
        }
        const int duplicate = model_.buttons.FindByCodes(data, data2);
        if (duplicate >= 0 &&
            !ask(MessageKind::Warning, DuplicateCodeText(model_.buttons.Items(duplicate).Name(), name),
                 MessageButton::Ok | MessageButton::Abort | MessageButton::Retry)) {
            continue;
        }
        return true;
    }
}

void TLearningProcedures::LearnButtonCode(TButtonCode& button) {
    std::string data;
    std::string data2;
    if (LearnButton(button.Name(), stopRequest_, window_.ReceiveProgressBar(), data, data2)) {
        button.SetCode(data);
        button.SetSecondCode(data2);
        window_.RefreshButtonGrid();
    }
}

void TLearningProcedures::LearnSelectedButton() {
    if (!model_.current.valid) {
        model_.boxes.show(MessageKind::Warning, text::kNoProtocolForButton, MessageButton::Ok);
        return;
    }
    const int index = window_.SelectedButtonIndex();
    if (index < 0 || index >= model_.buttons.Count()) return;
    TButtonCode& button = model_.buttons.Items(index);
    if (model_.boxes.show(MessageKind::Information, PressButtonText(button.Name()),
                          MessageButton::Ok | MessageButton::Cancel) != MessageButton::Ok) {
        return;
    }
    bool stop = false;
    std::string data;
    std::string data2;
    if (LearnButton(button.Name(), stop, window_.ReceiveProgressBar(), data, data2) && !stop) {
        button.SetCode(data);
        button.SetSecondCode(data2);
        model_.boxes.show(MessageKind::Information, text::kCodeRecorded, MessageButton::Ok);
    }
    window_.RefreshButtonGrid();
}

void TLearningProcedures::LearnAllButtons() {
    if (!model_.current.valid) {
        model_.boxes.show(MessageKind::Warning, text::kNoProtocolForButtons, MessageButton::Ok);
        return;
    }
    if (model_.buttons.Count() == 0) {
        model_.boxes.show(MessageKind::Error, text::kNoButtons, MessageButton::Ok);
        return;
    }
    busy_ = true;
    window_.UpdateCommandStates(false);
    const TScopeExit restore([&] {
        busy_ = false;
        window_.UpdateCommandStates(true);
        window_.RefreshButtonGrid();
    });
    // The device file takes the frame letters from the protocol itself, so the list needs no copy of them.
    stopRequest_ = false;
    for (int i = 0; i < model_.buttons.Count(); ++i) {
        TButtonCode& button = model_.buttons.Items(i);
        if (button.HasCode()) continue;
        const std::string name = Trimmed(button.Name()).empty() ? "???" : button.Name();
        const MessageButton answer =
            model_.boxes.show(MessageKind::Information, PressButtonText(name),
                              MessageButton::Ok | MessageButton::Abort | MessageButton::Ignore);
        if (answer == MessageButton::Ok) {
            LearnButtonCode(button);
        } else if (answer == MessageButton::Abort) {
            stopRequest_ = true;
        }
        if (stopRequest_) break;
    }
}

// --- exploring

void TLearningProcedures::ProtocolUpdated() {
    Tprotocol_descriptor& current = model_.current;
    if (!current.standard) return;
    current.standard = false;
    current.name = "~" + current.name;
    Describe(window_.ProtocolList(), current, true);
}

void TLearningProcedures::ExploreButtons(TCaptureProgressBar* progressBar, TColouredList& exploreListBox) {
    TAnalysisContext& context = model_.context;
    Tprotocol_descriptor& current = model_.current;
    platform::MessageBoxes& boxes = model_.boxes;
    if (!current.valid) return;
    context.tolerant = options.TolerantLearning;

    const TScopeExit restore([&] {
        busy_ = false;
        window_.UpdateCommandStates(true);
        model_.reader.CloseReaderPort();
    });
    if (!OpenPort()) return;
    busy_ = true;
    window_.UpdateCommandStates(false);
    // Only a length that was fixed when exploring began is made exact by the first accepted change.
    bool lengthChanged = current.i_length <= 0;

    const platform::MessageButtons abortRetry = MessageButton::Abort | MessageButton::Retry;
    for (;;) {
        if (boxes.show(MessageKind::Information, text::kPressAnyButton, MessageButton::Ok | MessageButton::Abort) !=
            MessageButton::Ok) {
            return;
        }
        bool prompt = false;
        while (!prompt) {
            const int captured = CaptureButton(context, model_.reader, current, progressBar, &exploreListBox);
            if (captured == kButtonCaptureAborted) return;
            if (captured == kButtonCaptureIgnored) break;

            FillFramesBuffer(context);
            std::string data;
            std::string data2;
            std::string dummy;
            ExtractButtonCodes(context, current, data, data2, dummy, true);

            MessageButton answer = MessageButton::None;
            const auto ask = [&](MessageKind kind, const std::string& message, platform::MessageButtons buttons) {
                answer = boxes.show(kind, message, buttons);
                return answer;
            };
            if (data.empty()) {
                ask(MessageKind::Error, text::kDataFrameMissed, abortRetry);
                if (answer == MessageButton::Abort) return;
                if (answer == MessageButton::Retry) continue;
            }
            const double protocolRate = current.frame_rate;
            if (FrameRateDiffers(context, current)) {
                ask(MessageKind::Error, text::kFrameRateUpdate,
                    platform::MessageButtons(MessageButton::Ok) | abortRetry);
                if (answer == MessageButton::Abort) return;
                if (answer == MessageButton::Retry) continue;
                if (answer == MessageButton::Ok) {
                    current.frame_rate = RoundHalfEven((2 * context.working.frame_rate + protocolRate) / 3);
                    ProtocolUpdated();
                }
            }
            const double protocolPeriod = current.carrier_period;
            if (CarrierDiffers(context, current)) {
                ask(MessageKind::Error, text::kCarrierUpdate, platform::MessageButtons(MessageButton::Ok) | abortRetry);
                if (answer == MessageButton::Abort) return;
                if (answer == MessageButton::Retry) continue;
                if (answer == MessageButton::Ok) {
                    current.carrier_period =
                        RoundHalfEven(2 * (2 * context.working.carrier_period + protocolPeriod) / 3) / 2;
                    ProtocolUpdated();
                }
            }
            if (!current.dummy_code.empty() && data == current.dummy_code) {
                ask(MessageKind::Error, text::kDataFrameMissed, abortRetry);
                if (answer == MessageButton::Abort) return;
                if (answer == MessageButton::Retry) continue;
            }
            if (!dummy.empty() && dummy != current.dummy_code) {
                ask(MessageKind::Warning, DummyMismatchText(dummy, current.dummy_code) + "\r" + text::kUpdateDefinition,
                    MessageButton::Yes | MessageButton::Retry);
                if (answer == MessageButton::Retry) continue;
                if (answer == MessageButton::Yes) {
                    current.dummy_code = dummy;
                    ProtocolUpdated();
                }
            }
            const int length = FrameCodeLength(current, data, context.working);
            const TFrameLengthCheck fit = CheckFrameLength(current.i_length, length);
            if (fit != TFrameLengthCheck::Fits) {
                const bool longerThan = current.i_length < 0;
                ask(MessageKind::Warning,
                    fit == TFrameLengthCheck::TooLong ? text::kLongerUpdate : text::kShorterUpdate,
                    MessageButton::Yes | MessageButton::Retry);
                if (answer == MessageButton::Retry) continue;
                if (answer == MessageButton::Yes) {
                    current.i_length = longerThan ? -length : ExploredLength(length, lengthChanged);
                    lengthChanged = true;
                }
            }

            if ((!data.empty() || !data2.empty()) && model_.exploreList.FindByCodes(data, data2) < 0) {
                model_.exploreList.AddWithCodes("", data, data2);
            }
            ShowExploreList(exploreListBox, Trimmed(data + "  " + data2));
            prompt = true;
        }
    }
}

int TLearningProcedures::ShowExploreList(TColouredList& listBox, const std::string& text) {
    const std::string wanted = Trimmed(text);
    int match = -1;
    for (int i = 0; i < model_.exploreList.Count(); ++i) {
        const TButtonCode& entry = model_.exploreList.Items(i);
        std::string line = entry.Code() + "  " + entry.SecondCode();
        const bool matches = Trimmed(line) == wanted;
        if (matches && match < 0) match = i;
        if (options.UseSubstutionRules) line = TranslateCode(model_.rules, model_.current, line, options.SubsBinByHex);
        line.insert(line.begin(), matches ? colour_code::kFuchsia : colour_code::kTeal);
        if (i < listBox.Count()) {
            listBox.Replace(i, line);
        } else {
            listBox.Add(line);
        }
    }
    if (match >= 0) listBox.FlashLine(match);
    return match;
}

}  // namespace spectrel
