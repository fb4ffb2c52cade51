// The device file: its document line by line, the variants that change it, well-formedness for any input,
// the backup rotation and the replacement of the file.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "Code/SPX_Data.h"
#include "Code/SPX_Data_ButtonCodes.h"
#include "Code/SPX_Files.h"
#include "InfoBus/Code/KOR_TSubscriber.h"
#include "testing/ScriptedMessageBoxes.h"
#include "tests/files_test_support.h"
#include "tests/xml_wellformed.h"

#if defined(__unix__)
#include "tests/file_faults.h"
#endif

namespace spectrel {
namespace {

namespace fs = std::filesystem;
using files_test::kFixedDateTime;
using files_test::LearnedProtocol;
using platform::MessageButton;
using platform::MessageKind;
using testing::ScriptedMessageBoxes;
using testing::XmlWellFormedCheck;

std::string ReadFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void WriteFile(const fs::path& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
}

std::vector<std::string> Lines(const std::string& document) {
    std::vector<std::string> lines;
    std::size_t begin = 0;
    for (std::size_t end; (end = document.find("\r\n", begin)) != std::string::npos; begin = end + 2)
        lines.push_back(document.substr(begin, end - begin));
    EXPECT_EQ(begin, document.size()) << "the document must end with a line break";
    return lines;
}

std::size_t CountLines(const std::string& document, const std::string& line) {
    const auto lines = Lines(document);
    return static_cast<std::size_t>(std::count(lines.begin(), lines.end(), line));
}

std::size_t CountNoteComments(const std::string& document) {
    std::size_t n = 0;
    for (const auto& line : Lines(document))
        if (line.rfind("  <!-- ", 0) == 0 && line != "  <!-- Protocol -->") ++n;
    return n;
}

TIRheader SampleHeader() {
    TIRheader header;
    header.protocol_name = "Learned iJ";
    header.remote_brand = "Halvren";
    header.remote_model = " RC 2040 ";
    header.device_type = "TV";
    header.device_brand = "Norvik";
    header.device_model = "NV-32";
    header.notes[0] = "Living room set, learned in one go";
    header.notes[1] = "Volume keys repeat while held <fast>";
    header.note_count = 2;
    return header;
}

std::vector<TDeviceFileCommand> SampleCommands() {
    return {{"Power", " AaAbAaAbAbAbAaAa ", "AaCd"}, {"Vol+", "AaAaAbAbAbAbAaAa", "AaCc"}, {"Mute", "AbAbAbAb", ""}};
}

struct Document {
    std::string text;
    bool corrupted = false;
};

Document Build(const TIRheader& header, const std::vector<TDeviceFileCommand>& commands,
               const Tprotocol_descriptor& protocol, bool attach) {
    Document d;
    d.text = DeviceFileText(header, commands, protocol, attach, kFixedDateTime, d.corrupted);
    return d;
}

// --- the document

const fs::path kGoldenFile = fs::path(SPECTREL_SOURCE_DIR) / "tests/data/files_device_learned.xml";

TEST(DeviceFileTextTest, LearnedProtocolWithTwoFramesPerCommandMatchesTheGoldenFile) {
    const Document d = Build(SampleHeader(), SampleCommands(), LearnedProtocol(), false);
    EXPECT_EQ(d.text, ReadFile(kGoldenFile));
    EXPECT_FALSE(d.corrupted);
    EXPECT_EQ(XmlWellFormedCheck::Check(d.text), "");
}

struct VariantCase {
    const char* name;
    std::function<void(TIRheader&, Tprotocol_descriptor&, bool& attach)> change;
    std::vector<std::string> present;  // whole lines that must appear
    std::vector<std::string> absent;   // whole lines that must not
};

class DeviceFileVariantTest : public ::testing::TestWithParam<VariantCase> {};

TEST_P(DeviceFileVariantTest, Lines) {
    TIRheader header = SampleHeader();
    Tprotocol_descriptor protocol = LearnedProtocol();
    bool attach = false;
    GetParam().change(header, protocol, attach);
    const Document d = Build(header, SampleCommands(), protocol, attach);
    const auto lines = Lines(d.text);
    for (const auto& line : GetParam().present)
        EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << "missing: " << line;
    for (const auto& line : GetParam().absent)
        EXPECT_EQ(std::find(lines.begin(), lines.end(), line), lines.end()) << "unexpected: " << line;
    EXPECT_EQ(XmlWellFormedCheck::Check(d.text), "");
}

const auto kNoChange = [](TIRheader&, Tprotocol_descriptor&, bool&) {};

INSTANTIATE_TEST_SUITE_P(
    Cases, DeviceFileVariantTest,
    ::testing::Values(VariantCase{"LearnedProtocolAlwaysAttached",
                                  kNoChange,
                                  {"  <ProtocolDef>", "  <!-- Protocol -->"},
                                  {}},
                      VariantCase{"StandardProtocolWithoutAttachHasNoDefinition",
                                  [](TIRheader&, Tprotocol_descriptor& p, bool& attach) {
                                      p.standard = true;
                                      attach = false;
                                  },
                                  {"  </Manufacturers>", "</Device>"},
                                  {"  <ProtocolDef>", "  <!-- Protocol -->"}},
                      VariantCase{"StandardProtocolWithAttach",
                                  [](TIRheader&, Tprotocol_descriptor& p, bool& attach) {
                                      p.standard = true;
                                      attach = true;
                                  },
                                  {"  <ProtocolDef>"},
                                  {}},
                      VariantCase{"FrameRateNotMeasuredIs100",
                                  [](TIRheader&, Tprotocol_descriptor& p, bool&) { p.frame_rate = 0; },
                                  {"    <FrameRate>100</FrameRate>"},
                                  {}},
                      VariantCase{"FrameRateNeverSetIs100",
                                  [](TIRheader&, Tprotocol_descriptor& p, bool&) { p.frame_rate = -1; },
                                  {"    <FrameRate>100</FrameRate>"},
                                  {}},
                      VariantCase{"FrameRateRoundedDown",
                                  [](TIRheader&, Tprotocol_descriptor& p, bool&) { p.frame_rate = 108.4; },
                                  {"    <FrameRate>108</FrameRate>"},
                                  {}},
                      VariantCase{"FrameRateTieToEvenDown",
                                  [](TIRheader&, Tprotocol_descriptor& p, bool&) { p.frame_rate = 108.5; },
                                  {"    <FrameRate>108</FrameRate>"},
                                  {}},
                      VariantCase{"FrameRateTieToEvenUp",
                                  [](TIRheader&, Tprotocol_descriptor& p, bool&) { p.frame_rate = 45.5; },
                                  {"    <FrameRate>46</FrameRate>"},
                                  {}},
                      VariantCase{"FrameRateJustMeasured",
                                  [](TIRheader&, Tprotocol_descriptor& p, bool&) { p.frame_rate = 0.9; },
                                  {"    <FrameRate>1</FrameRate>"},
                                  {}},
                      VariantCase{"CarrierFrequencyRoundedHalfAway",
                                  [](TIRheader&, Tprotocol_descriptor& p, bool&) { p.carrier_period = 26.3; },
                                  {"    <CarrierFreq>38023</CarrierFreq>"},
                                  {}},
                      VariantCase{"CarrierFrequencyExactHalf",
                                  [](TIRheader&, Tprotocol_descriptor& p, bool&) {
                                      p.carrier_period = 128;
                                  },  // 7812.5 Hz exactly
                                  {"    <CarrierFreq>7813</CarrierFreq>"},
                                  {}},
                      VariantCase{"PulsedCodeHasNoCarrier",
                                  [](TIRheader&, Tprotocol_descriptor& p, bool&) { p.carrier_period = 0; },
                                  {"    <CarrierFreq>0</CarrierFreq>"},
                                  {}},
                      VariantCase{"UnknownCarrierIsZero",
                                  [](TIRheader&, Tprotocol_descriptor& p, bool&) { p.carrier_period = -1; },
                                  {"    <CarrierFreq>0</CarrierFreq>"},
                                  {}},
                      VariantCase{"VocabularyNeverSetIsEmpty",
                                  [](TIRheader&, Tprotocol_descriptor& p, bool&) { p.vocabulary_count = -1; },
                                  {"    <Vocabulary>", "    </Vocabulary>"},
                                  {"      <VocabularyElement>"}},
                      VariantCase{"DurationsRoundedHalfAway",
                                  [](TIRheader&, Tprotocol_descriptor& p, bool&) {
                                      p.vocabulary_count = 3;
                                      p.durations[0] = 560.5;
                                      p.durations[1] = 1689.5;
                                      p.durations[2] = 0.4;
                                  },
                                  {"        <Duration>561</Duration>", "        <Duration>1690</Duration>",
                                   "        <Duration>0</Duration>", "        <Name>C</Name>"},
                                  {"        <Name>D</Name>"}},
                      VariantCase{
                          "OneFrameWithoutSecondLetter",
                          [](TIRheader&, Tprotocol_descriptor& p, bool&) {
                              p.format = "I";
                              p.i_letter = 'I';
                              p.j_letter = '?';
                          },
                          {"                  <Name>I</Name>", "                  <IRcode>AaAbAaAbAbAbAaAa</IRcode>"},
                          {"                  <Name>?</Name>", "                  <IRcode>AaCd</IRcode>"}},
                      VariantCase{"SecondFrameWrittenEvenWhenEmpty",
                                  kNoChange,
                                  {"                  <Name>J</Name>", "                  <IRcode></IRcode>"},
                                  {}},
                      VariantCase{
                          "DummyFrameCarriesTheDummyCode",
                          [](TIRheader&, Tprotocol_descriptor& p, bool&) {
                              p.format = "iXY";
                              p.i_letter = 'i';
                              p.j_letter = '?';
                              p.x_letter = 'X';
                              p.dummy_code = "AaAaAa";
                          },
                          {"        <Name>X</Name>", "        <Name>Y</Name>", "        <Type>Dummy</Type>",
                           "        <IRCode>AaAaAa</IRCode>", "        <Type>Data</Type>", "    <Format>iXY</Format>"},
                          {}},
                      VariantCase{"NamesTrimmedAndEscapedNotesAsTyped",
                                  [](TIRheader& h, Tprotocol_descriptor& p, bool&) {
                                      h.device_type = "  Amp & <Tuner>\t";
                                      h.notes[0] = " a < b ";
                                      p.name = " R&B ";
                                  },
                                  {"  <Name>Amp &amp; &lt;Tuner&gt;</Name>", "  <!--  a < b  -->",
                                   "          <Protocol>R&amp;B</Protocol>", "    <Name>R&amp;B</Name>",
                                   "              <RemoteModel>RC 2040</RemoteModel>"},
                                  {}},
                      VariantCase{"DashesInNotesSplitInTheLeastVisibleWay",
                                  [](TIRheader& h, Tprotocol_descriptor&, bool&) {
                                      h.notes[0] = "tape -- counter at 0---";
                                      h.notes[1] = "-";
                                  },
                                  {"  <!-- tape - - counter at 0- - - -->", "  <!-- - -->"},
                                  {}}),
    [](const auto& info) { return std::string(info.param.name); });

// Blocks the golden file does not hold, checked as runs of consecutive lines: the importer reads them in order.
struct BlockCase {
    const char* name;
    std::function<void(TIRheader&, Tprotocol_descriptor&, bool& attach)> change;
    std::vector<std::string> run;  // consecutive lines of the document
    bool endsDocument;             // the run is the document's last lines
};

class DeviceFileBlockTest : public ::testing::TestWithParam<BlockCase> {};

TEST_P(DeviceFileBlockTest, LinesInOrder) {
    TIRheader header = SampleHeader();
    Tprotocol_descriptor protocol = LearnedProtocol();
    bool attach = false;
    GetParam().change(header, protocol, attach);
    const auto lines = Lines(Build(header, SampleCommands(), protocol, attach).text);
    const auto& run = GetParam().run;
    const auto found = std::search(lines.begin(), lines.end(), run.begin(), run.end());
    ASSERT_NE(found, lines.end()) << "run not found, starting with: " << run.front();
    if (GetParam().endsDocument) {
        EXPECT_EQ(found + static_cast<std::ptrdiff_t>(run.size()), lines.end());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DeviceFileBlockTest,
    ::testing::Values(
        BlockCase{"DummyFrameBlock",
                  [](TIRheader&, Tprotocol_descriptor& p, bool&) {
                      p.format = "iX";
                      p.j_letter = '?';
                      p.x_letter = 'X';
                      p.dummy_code = "AaAa";
                  },
                  {"    <Format>iX</Format>", "    <Pframes>", "      <Pframe>", "        <Name>i</Name>",
                   "        <Type>Data</Type>", "      </Pframe>", "      <Pframe>", "        <Name>X</Name>",
                   "        <Type>Dummy</Type>", "        <IRCode>AaAa</IRCode>", "      </Pframe>", "    </Pframes>",
                   "    <MinFrames>4</MinFrames>", "    <MaxFrames>255</MaxFrames>", "    <Vocabulary>"},
                  false},
        BlockCase{"LowerCaseWAndXAreDataAndDummy",
                  [](TIRheader&, Tprotocol_descriptor& p, bool&) { p.format = "wx"; },
                  {"        <Name>w</Name>", "        <Type>Data</Type>", "      </Pframe>", "      <Pframe>",
                   "        <Name>x</Name>", "        <Type>Dummy</Type>", "        <IRCode></IRCode>",
                   "      </Pframe>", "    </Pframes>", "    <MinFrames>2</MinFrames>", "    <MaxFrames>2</MaxFrames>"},
                  false},
        BlockCase{"OneFramePerCommand",
                  [](TIRheader&, Tprotocol_descriptor& p, bool&) { p.j_letter = '?'; },
                  {"              <Frames>", "                <Frame>", "                  <Name>i</Name>",
                   "                  <IRcode>AbAbAbAb</IRcode>", "                </Frame>", "              </Frames>",
                   "            </IRCommand>", "          </IRCommands>"},
                  false},
        BlockCase{"StandardProtocolEndsAfterTheManufacturers",
                  [](TIRheader&, Tprotocol_descriptor& p, bool&) { p.standard = true; },
                  {"        </Model>", "      </Models>", "    </Manufacturer>", "  </Manufacturers>", "</Device>"},
                  true},
        BlockCase{"EmptyVocabularyEndsTheDefinition",
                  [](TIRheader&, Tprotocol_descriptor& p, bool&) { p.vocabulary_count = 0; },
                  {"    <MaxFrames>255</MaxFrames>", "    <Vocabulary>", "    </Vocabulary>", "  </ProtocolDef>",
                   "</Device>"},
                  true},
        BlockCase{"NoNotesGoStraightToTheName",
                  [](TIRheader& h, Tprotocol_descriptor&, bool&) { h.note_count = 0; },
                  {"<!DOCTYPE Device SYSTEM \"Device.dtd\">", "<Device>", "  <Name>TV</Name>", "  <Manufacturers>"},
                  false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DeviceFileTextTest, NotesAreWrittenOnlyForOneTo99Lines) {
    const struct {
        int count;
        std::size_t comments;
    } cases[] = {{0, 0}, {1, 1}, {99, 99}, {100, 0}, {101, 0}};
    for (const auto& c : cases) {
        TIRheader header = SampleHeader();
        for (int i = 0; i < kHeaderNoteLines; ++i)
            header.notes[static_cast<std::size_t>(i)] = "note " + std::to_string(i);
        header.note_count = c.count;
        const Document d = Build(header, SampleCommands(), LearnedProtocol(), false);
        EXPECT_EQ(CountNoteComments(d.text), c.comments) << c.count << " notes";
        if (c.count == 99) {
            EXPECT_EQ(CountLines(d.text, "  <!-- note 0 -->"), 1u);
            EXPECT_EQ(CountLines(d.text, "  <!-- note 98 -->"), 1u);
        }
    }
}

TEST(DeviceFileTextTest, MinimumAndMaximumFramesFollowTheFormat) {
    const struct {
        const char* format;
        int min;
        int max;
    } cases[] = {{"i", 1, 1},    {"ii", 2, 2},   {"ix", 2, 2},    {"xi", 2, 2},    {"ij", 2, 2},
                 {"I", 4, 255},  {"Ix", 4, 255}, {"xI", 4, 255},  {"iX", 4, 255},  {"iJ", 4, 255},
                 {"IJ", 4, 255}, {"Ij", 4, 255}, {"iJi", 4, 255}, {"xIx", 4, 255}, {"iXY", 4, 255}};
    for (const auto& c : cases) {
        Tprotocol_descriptor protocol = LearnedProtocol();
        protocol.format = c.format;
        const Document d = Build(SampleHeader(), SampleCommands(), protocol, true);
        EXPECT_EQ(CountLines(d.text, "    <MinFrames>" + std::to_string(c.min) + "</MinFrames>"), 1u) << c.format;
        EXPECT_EQ(CountLines(d.text, "    <MaxFrames>" + std::to_string(c.max) + "</MaxFrames>"), 1u) << c.format;
        EXPECT_EQ(CountLines(d.text, "      <Pframe>"), std::string(c.format).size()) << c.format;
        EXPECT_FALSE(d.corrupted) << c.format;
    }
}

TEST(DeviceFileTextTest, EmptyFormatIsCorruptedButTheDocumentIsCompleted) {
    Tprotocol_descriptor protocol = LearnedProtocol();
    protocol.format.clear();
    const Document d = Build(SampleHeader(), SampleCommands(), protocol, true);
    EXPECT_TRUE(d.corrupted);
    EXPECT_EQ(CountLines(d.text, "    <MinFrames>0</MinFrames>"), 1u);
    EXPECT_EQ(CountLines(d.text, "    <MaxFrames>0</MaxFrames>"), 1u);
    EXPECT_EQ(Lines(d.text).back(), "</Device>");
    EXPECT_EQ(XmlWellFormedCheck::Check(d.text), "");
}

TEST(DeviceFileTextTest, CodesBeyondThirtyOneElementsAreWrittenAsTheirCharacters) {
    Tprotocol_descriptor protocol = LearnedProtocol();
    protocol.vocabulary_count = 40;  // more than a descriptor holds: only its 31 elements are written
    const std::string code = {'A', static_cast<char>('a' + 31), 'B', static_cast<char>('a' + 100)};
    const Document d = Build(SampleHeader(), {{"Power", code, ""}}, protocol, true);
    EXPECT_EQ(CountLines(d.text,
                         "                  <IRcode>A\xC2\x80"
                         "B\xC3\x85</IRcode>"),
              1u);
    EXPECT_EQ(CountLines(d.text, "      <VocabularyElement>"), 31u);
    EXPECT_EQ(CountLines(d.text, "        <Name>_</Name>"), 1u);  // 'A' + 30
    EXPECT_EQ(XmlWellFormedCheck::Check(d.text), "");
}

TEST(DeviceFileTextTest, EveryDocumentFromHostileTextIsWellFormed) {
    const auto documents = files_test::HostileDocuments();
    ASSERT_GT(documents.size(), 200u);
    for (const auto& document : documents) {
        const std::string problem = XmlWellFormedCheck::Check(document);
        EXPECT_EQ(problem, "") << document;
        if (!problem.empty()) break;
    }
}

// --- backups and replacing the file

class DeviceFileFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device seed;
        folder_ = fs::temp_directory_path() / ("spectrel_files_" + std::to_string(seed()));
        fs::create_directories(folder_);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    std::string path(const std::string& name) const { return (folder_ / name).string(); }
    std::vector<std::string> names() const {
        std::vector<std::string> found;
        for (const auto& entry : fs::directory_iterator(folder_)) found.push_back(entry.path().filename().string());
        std::sort(found.begin(), found.end());
        return found;
    }

    fs::path folder_;
};

// A button list with the sample commands and a button without a code between them (which is left out).
class DeviceFileWriterTest : public DeviceFileFolderTest {
protected:
    void SetUp() override {
        DeviceFileFolderTest::SetUp();
        buttons_.AddWithCodes("Power", " AaAbAaAbAbAbAaAa ", "AaCd");
        buttons_.Add("Sleep");
        buttons_.AddWithCodes("Vol+", "AaAaAbAbAbAbAaAa", "AaCc");
        buttons_.AddWithCodes("Mute", "AbAbAbAb", "");
        boxes_.setStrict(true);
    }
    TFileResult write(const std::string& file, bool attach = false) {
        return WriteDeviceFile(environment_, SampleHeader(), buttons_, protocol_, file, attach);
    }

    TInfoBus bus_;
    TbuttonCodes buttons_{bus_};
    Tprotocol_descriptor protocol_ = LearnedProtocol();
    ScriptedMessageBoxes boxes_;
    TDeviceFileEnvironment environment_{boxes_, [] { return std::string(kFixedDateTime); }};
};

TEST_F(DeviceFileWriterTest, WritesTheGoldenFileForAButtonList) {
    const std::string file = path("tv.xml");
    const TFileResult result = write(file);
    EXPECT_TRUE(result) << result.message;
    EXPECT_EQ(ReadFile(file), ReadFile(kGoldenFile));
    EXPECT_TRUE(boxes_.shown().empty());
    EXPECT_EQ(names(), (std::vector<std::string>{"tv.xml"}));
}

TEST_F(DeviceFileWriterTest, WritesNothingUnlessTheListHoldsOneTo999Buttons) {
    const struct {
        int buttons;
        bool written;
    } cases[] = {{0, false}, {1, true}, {999, true}, {1000, false}};
    for (const auto& c : cases) {
        buttons_.Clear();
        for (int i = 0; i < c.buttons; ++i) buttons_.AddWithCodes("B" + std::to_string(i), "AaAb", "");
        const std::string file = path("list" + std::to_string(c.buttons) + ".xml");
        EXPECT_EQ(static_cast<bool>(write(file)), c.written) << c.buttons << " buttons";
        EXPECT_EQ(fs::exists(file), c.written) << c.buttons << " buttons";
        if (c.written) {
            EXPECT_EQ(CountLines(ReadFile(file), "            <IRCommand>"), static_cast<std::size_t>(c.buttons));
        }
    }
    EXPECT_TRUE(boxes_.shown().empty());
}

TEST_F(DeviceFileWriterTest, SavingTwiceRotatesTheBackups) {
    const std::string file = path("tv.xml");
    ASSERT_TRUE(write(file));
    const std::string first = ReadFile(file);
    buttons_.AddWithCodes("Input", "AbAbAaAa", "AaCc");
    boxes_.script({MessageButton::Ok});
    ASSERT_TRUE(write(file));
    const std::string second = ReadFile(file);
    buttons_.AddWithCodes("Menu", "AbAbAbAa", "AaCc");
    boxes_.script({MessageButton::Ok});
    ASSERT_TRUE(write(file));

    EXPECT_EQ(names(), (std::vector<std::string>{"tv.xml", "tv.~xml", "tv.~~xml"}));
    EXPECT_EQ(ReadFile(path("tv.~~xml")), first);
    EXPECT_EQ(ReadFile(path("tv.~xml")), second);
    EXPECT_EQ(CountLines(ReadFile(file), "                Menu"), 1u);
    ASSERT_EQ(boxes_.shown().size(), 2u);
    EXPECT_EQ(boxes_.shown()[0].kind, MessageKind::Warning);
    EXPECT_EQ(boxes_.shown()[0].text, "File " + file + " already exists. Overwrite?");
    EXPECT_EQ(boxes_.shown()[0].buttons, MessageButton::Ok | MessageButton::Abort);
    EXPECT_EQ(boxes_.unscriptedCount(), 0u);
}

TEST_F(DeviceFileWriterTest, AbortAtTheQuestionChangesNothing) {
    const std::string file = path("tv.xml");
    WriteFile(file, "current");
    WriteFile(path("tv.~xml"), "newer backup");
    WriteFile(path("tv.~~xml"), "older backup");
    boxes_.script({MessageButton::Abort});
    const TFileResult result = write(file);
    EXPECT_FALSE(result);
    EXPECT_EQ(result.message, "");
    EXPECT_EQ(ReadFile(file), "current");
    EXPECT_EQ(ReadFile(path("tv.~xml")), "newer backup");
    EXPECT_EQ(ReadFile(path("tv.~~xml")), "older backup");
    EXPECT_EQ(names().size(), 3u);
}

TEST_F(DeviceFileWriterTest, ACallerThatAlreadyAskedIsNotAskedAgain) {
    const std::string file = path("tv.xml");
    WriteFile(file, "previous version");
    environment_.overwriteConfirmed = true;
    EXPECT_TRUE(write(file));
    EXPECT_TRUE(boxes_.shown().empty());
    EXPECT_EQ(ReadFile(path("tv.~xml")), "previous version");
    EXPECT_EQ(ReadFile(file), ReadFile(kGoldenFile));
}

TEST_F(DeviceFileWriterTest, AFileFromHostileNamesAndNotesIsWellFormed) {
    const auto texts = files_test::HostileTexts();
    ASSERT_FALSE(texts.empty());
    TIRheader header = SampleHeader();
    header.device_type = texts[0];
    header.device_brand = texts.back();
    header.note_count = 0;
    for (const auto& text : texts) {
        header.notes[static_cast<std::size_t>(header.note_count++)] = text;
        buttons_.AddWithCodes(text, "AaAb" + text, text);
    }
    protocol_.name = texts[1];
    const std::string file = path("hostile.xml");
    ASSERT_TRUE(WriteDeviceFile(environment_, header, buttons_, protocol_, file, true));
    EXPECT_EQ(XmlWellFormedCheck::Check(ReadFile(file)), "");
    EXPECT_EQ(CountNoteComments(ReadFile(file)), texts.size());
}

TEST(LocalDateTimeTextTest, GivesADateAndATime) {
    const std::string text = LocalDateTimeText();
    EXPECT_FALSE(text.empty());
    EXPECT_NE(text.find(' '), std::string::npos) << text;
}

TEST_F(DeviceFileWriterTest, AFailedBackupIsReportedAndTheFileIsWrittenAllTheSame) {
    const std::string file = path("tv.xml");
    WriteFile(file, "current");
    fs::create_directories(folder_ / "tv.~xml" / "occupied");
    fs::create_directories(folder_ / "tv.~~xml" / "occupied");
    boxes_.script({MessageButton::Ok, MessageButton::Ok});
    const TFileResult result = write(file);
    EXPECT_TRUE(result) << result.message;
    EXPECT_EQ(ReadFile(file), ReadFile(kGoldenFile));
    EXPECT_EQ(boxes_.texts(), (std::vector<std::string>{"File " + file + " already exists. Overwrite?",
                                                        "File error! Cannot move file " + file}));
    EXPECT_EQ(boxes_.shown()[1].kind, MessageKind::Error);
}

// A file system whose renames fail on purpose: the last rename of a write (the new document over the file), or
// every rename. The file is never missing: it stays as it was, beside its rotated backups.
struct FailingRenameCase {
    const char* name;
    bool existing;     // the file and both backups are there before the write
    bool everyRename;  // otherwise only the rename onto the file fails
    std::vector<std::string> names;
    const char* file;    // afterwards; nullptr: no file
    const char* newer;   // ".~xml" afterwards
    const char* older;   // ".~~xml" afterwards
};

class DeviceFileFailingRename : public DeviceFileWriterTest,
                                public ::testing::WithParamInterface<FailingRenameCase> {};

TEST_P(DeviceFileFailingRename, LeavesThePreviousFileInPlace) {
    const FailingRenameCase& c = GetParam();
    const std::string file = path("tv.xml");
    if (c.existing) {
        WriteFile(file, "current");
        WriteFile(path("tv.~xml"), "newer backup");
        WriteFile(path("tv.~~xml"), "older backup");
        boxes_.script({MessageButton::Ok, MessageButton::Ok});
    } else {
        boxes_.script({MessageButton::Ok});
    }
    int renames = 0;
    environment_.rename = [&](const std::string& from, const std::string& to) {
        ++renames;
        if (c.everyRename || to == file) return std::make_error_code(std::errc::permission_denied);
        return RenameFile(from, to);
    };
    const TFileResult result = write(file);
    EXPECT_FALSE(result);
    EXPECT_EQ(result.message, "Cannot replace file " + file + ": Permission denied");
    EXPECT_GE(renames, 1);
    std::vector<std::string> expectedBoxes;
    if (c.existing) expectedBoxes.push_back("File " + file + " already exists. Overwrite?");
    expectedBoxes.push_back("File error! Cannot replace file " + file + ": Permission denied");
    EXPECT_EQ(boxes_.texts(), expectedBoxes);
    EXPECT_EQ(boxes_.shown().back().kind, MessageKind::Error);
    // No temporary file is left behind.
    EXPECT_EQ(names(), c.names);
    if (c.file) {
        EXPECT_EQ(ReadFile(file), c.file);
    }
    if (c.newer) {
        EXPECT_EQ(ReadFile(path("tv.~xml")), c.newer);
    }
    if (c.older) {
        EXPECT_EQ(ReadFile(path("tv.~~xml")), c.older);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, DeviceFileFailingRename,
    ::testing::Values(FailingRenameCase{"LastRenameOfARewrite", true, false, {"tv.xml", "tv.~xml", "tv.~~xml"},
                                        "current", "current", "newer backup"},
                      FailingRenameCase{"EveryRenameOfARewrite", true, true, {"tv.xml", "tv.~xml", "tv.~~xml"},
                                        "current", "current", "newer backup"},
                      FailingRenameCase{"LastRenameOfANewFile", false, false, {}, nullptr, nullptr, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

// The rotation of a rewrite keeps the file where it is, and the backup does not change with the next write.
TEST_F(DeviceFileFolderTest, KeepBackupsRotatesTwoGenerationsAndKeepsTheFile) {
    const std::string file = path("tv.xml");
    EXPECT_FALSE(KeepBackups(file));  // nothing to keep
    EXPECT_TRUE(names().empty());

    WriteFile(file, "first");
    EXPECT_TRUE(KeepBackups(file));
    EXPECT_EQ(names(), (std::vector<std::string>{"tv.xml", "tv.~xml"}));
    EXPECT_EQ(ReadFile(file), "first");
    EXPECT_EQ(ReadFile(path("tv.~xml")), "first");

    ASSERT_TRUE(ReplaceFileContents(file, "second"));
    EXPECT_EQ(ReadFile(path("tv.~xml")), "first");
    EXPECT_TRUE(KeepBackups(file));
    ASSERT_TRUE(ReplaceFileContents(file, "third"));
    EXPECT_EQ(names(), (std::vector<std::string>{"tv.xml", "tv.~xml", "tv.~~xml"}));
    EXPECT_EQ(ReadFile(file), "third");
    EXPECT_EQ(ReadFile(path("tv.~xml")), "second");
    EXPECT_EQ(ReadFile(path("tv.~~xml")), "first");
}

TEST_F(DeviceFileWriterTest, AnEmptyFormatIsReportedAndTheFileCompleted) {
    protocol_.format.clear();
    const std::string file = path("tv.xml");
    EXPECT_TRUE(write(file));
    EXPECT_EQ(boxes_.texts(), (std::vector<std::string>{"Corrupted frames structure"}));
    EXPECT_EQ(boxes_.shown()[0].kind, MessageKind::Error);
    EXPECT_EQ(XmlWellFormedCheck::Check(ReadFile(file)), "");
}

TEST_F(DeviceFileWriterTest, AWriteIntoAMissingFolderIsReported) {
    const std::string file = path("missing/tv.xml");
    const TFileResult result = write(file);
    EXPECT_FALSE(result);
    EXPECT_NE(result.message.find(file), std::string::npos) << result.message;
    ASSERT_EQ(boxes_.shown().size(), 1u);
    EXPECT_EQ(boxes_.shown()[0].kind, MessageKind::Error);
    EXPECT_EQ(boxes_.shown()[0].text, "File error! " + result.message);
}

TEST_F(DeviceFileFolderTest, BackupNamesReplaceOrAppendTheExtension) {
    EXPECT_EQ(NewerBackupName("/x/device.xml"), "/x/device.~xml");
    EXPECT_EQ(OlderBackupName("/x/device.xml"), "/x/device.~~xml");
    EXPECT_EQ(NewerBackupName("/x/device"), "/x/device.~xml");
    EXPECT_EQ(NewerBackupName("/x.y/device"), "/x.y/device.~xml");
    EXPECT_EQ(OlderBackupName("device.txt"), "device.~~xml");
}

TEST_F(DeviceFileFolderTest, MakeBackupsRotatesTwoGenerations) {
    const std::string file = path("tv.xml");
    EXPECT_FALSE(MakeBackups(file));  // nothing to move
    EXPECT_TRUE(names().empty());

    WriteFile(file, "first");
    EXPECT_TRUE(MakeBackups(file));
    EXPECT_EQ(names(), (std::vector<std::string>{"tv.~xml"}));
    EXPECT_EQ(ReadFile(path("tv.~xml")), "first");

    WriteFile(file, "second");
    EXPECT_TRUE(MakeBackups(file));
    WriteFile(file, "third");
    EXPECT_TRUE(MakeBackups(file));
    EXPECT_EQ(names(), (std::vector<std::string>{"tv.~xml", "tv.~~xml"}));
    EXPECT_EQ(ReadFile(path("tv.~xml")), "third");
    EXPECT_EQ(ReadFile(path("tv.~~xml")), "second");
}

TEST_F(DeviceFileFolderTest, AFailedMoveNeverLosesTheFile) {
    // Folders in the way of both backups can neither be moved nor replaced by a file: every rename and copy
    // fails, and the file must still be there.
    const std::string file = path("tv.xml");
    WriteFile(file, "only copy");
    fs::create_directories(folder_ / "tv.~xml" / "occupied");
    fs::create_directories(folder_ / "tv.~~xml" / "occupied");
    EXPECT_FALSE(MakeBackups(file));
    EXPECT_EQ(ReadFile(file), "only copy");
}

TEST_F(DeviceFileFolderTest, ReplaceFileContentsLeavesNoTemporaryFile) {
    const std::string file = path("tv.xml");
    WriteFile(file, "old");
    const TFileResult result = ReplaceFileContents(file, "new contents\r\n");
    EXPECT_TRUE(result) << result.message;
    EXPECT_EQ(ReadFile(file), "new contents\r\n");
    EXPECT_EQ(names(), (std::vector<std::string>{"tv.xml"}));
}

TEST_F(DeviceFileFolderTest, ReplaceFileContentsInAMissingFolderFails) {
    const std::string file = path("missing/tv.xml");
    const TFileResult result = ReplaceFileContents(file, "text");
    EXPECT_FALSE(result);
    EXPECT_NE(result.message.find(file), std::string::npos) << result.message;
    EXPECT_TRUE(names().empty());
}

TEST_F(DeviceFileFolderTest, ReplacingADirectoryFailsAndKeepsIt) {
    fs::create_directories(folder_ / "tv.xml" / "inside");
    const TFileResult result = ReplaceFileContents(path("tv.xml"), "text");
    EXPECT_FALSE(result);
    EXPECT_TRUE(fs::is_directory(folder_ / "tv.xml" / "inside"));
    EXPECT_EQ(names(), (std::vector<std::string>{"tv.xml"}));
}

#if defined(__unix__)
using test::FileSizeLimit;

TEST_F(DeviceFileFolderTest, AWriteThatFailsHalfwayLeavesThePreviousFile) {
    const std::string file = path("tv.xml");
    WriteFile(file, "previous version");
    TFileResult result;
    {
        FileSizeLimit limit(100);
        if (!limit.active()) GTEST_SKIP() << "cannot lower the file size limit";
        result = ReplaceFileContents(file, std::string(100000, 'x'));
    }
    EXPECT_FALSE(result);
    EXPECT_NE(result.message.find("Cannot write file"), std::string::npos) << result.message;
    EXPECT_EQ(ReadFile(file), "previous version");
    EXPECT_EQ(names(), (std::vector<std::string>{"tv.xml"}));
}

TEST_F(DeviceFileWriterTest, AFailedWriteLeavesThePreviousFileAndItsBackups) {
    const std::string file = path("tv.xml");
    WriteFile(file, "previous version");
    WriteFile(path("tv.~xml"), "newer backup");
    WriteFile(path("tv.~~xml"), "older backup");
    for (int i = 0; i < 200; ++i) buttons_.AddWithCodes("Button " + std::to_string(i), "AaAbAaAbAbAbAaAa", "AaCc");
    boxes_.script({MessageButton::Ok});
    TFileResult result;
    {
        FileSizeLimit limit(1000);
        if (!limit.active()) GTEST_SKIP() << "cannot lower the file size limit";
        result = write(file);
    }
    EXPECT_FALSE(result);
    EXPECT_NE(result.message.find("Cannot write file " + file), std::string::npos) << result.message;
    EXPECT_EQ(ReadFile(file), "previous version");
    EXPECT_EQ(ReadFile(path("tv.~xml")), "newer backup");
    EXPECT_EQ(ReadFile(path("tv.~~xml")), "older backup");
    EXPECT_EQ(names().size(), 3u);
    ASSERT_EQ(boxes_.shown().size(), 2u);
    EXPECT_EQ(boxes_.shown()[1].kind, MessageKind::Error);
    EXPECT_EQ(boxes_.shown()[1].text, "File error! " + result.message);
}
#endif

}  // namespace
}  // namespace spectrel
