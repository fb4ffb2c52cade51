// The text helpers of the device file writer, and the well-formedness check the device file tests rely on.

#include <gtest/gtest.h>

#include <string>

#include "Code/SPX_Files_xml.h"
#include "tests/xml_wellformed.h"

namespace spectrel {
namespace {

using testing::XmlWellFormedCheck;
using namespace xmltext;

struct TextCase {
    const char* name;
    std::string input;
    std::string expected;
};

class EscapeTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(EscapeTextTest, MendsAndEscapes) { EXPECT_EQ(EscapeText(GetParam().input), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(
    Cases, EscapeTextTest,
    ::testing::Values(TextCase{"Plain", "Living room TV", "Living room TV"},
                      TextCase{"FiveEscapes", "a\"b&c'd<e>f", "a&quot;b&amp;c&apos;d&lt;e&gt;f"},
                      TextCase{"AlreadyEscapedIsEscapedAgain", "&amp;", "&amp;amp;"},
                      TextCase{"CdataEndCannotSurvive", "x]]>y", "x]]&gt;y"},
                      TextCase{"Utf8Kept", "T\xC3\xA9l\xC3\xA9vision \xE2\x82\xAC \xF0\x9F\x93\xBA",
                               "T\xC3\xA9l\xC3\xA9vision \xE2\x82\xAC \xF0\x9F\x93\xBA"},
                      TextCase{"StrayLatin1ByteBecomesItsCharacter", "Caf\xE9", "Caf\xC3\xA9"},
                      TextCase{"TruncatedSequenceAtEnd", "ab\xE2\x82", "ab\xC3\xA2\xC2\x82"},
                      TextCase{"OverlongSlashIsNotASlash", "\xC0\xAF", "\xC3\x80\xC2\xAF"},
                      TextCase{"EncodedSurrogateIsNotKeptAsSuch", "\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xC2\x80"},
                      TextCase{"ForbiddenControlCharactersDropped",
                               std::string("a\x01"
                                           "b\x1F"
                                           "c\x7F"
                                           "d\x00"
                                           "e",
                                           9),
                               "abc\x7F"
                               "de"},
                      TextCase{"TabKept", "a\tb", "a\tb"},
                      TextCase{"LineBreaksBecomeBlanks", "Vol\r\nUp\nDown", "Vol  Up Down"},
                      TextCase{"NonCharactersDropped",
                               "a\xEF\xBF\xBE"
                               "b\xEF\xBF\xBF"
                               "c",
                               "abc"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EncodeCodeTest, EveryByteIsTheCodePointOfOneCharacter) {
    // 'a' + 31 is 128 and 'a' + 100 is 197: beyond ASCII, written as U+0080 and U+00C5.
    EXPECT_EQ(EncodeCode("AaBb?"), "AaBb?");
    EXPECT_EQ(EncodeCode(std::string{'A', static_cast<char>(128), 'B', static_cast<char>(197)}),
              "A\xC2\x80"
              "B\xC3\x85");
    // Hand-edited codes cannot break the markup either.
    EXPECT_EQ(EncodeCode("A<b&"), "A&lt;b&amp;");
    EXPECT_EQ(EncodeCode(std::string("A\x01"
                                     "b",
                                     3)),
              "Ab");
    // Bytes that look like UTF-8 are still one character each.
    EXPECT_EQ(EncodeCode("\xC3\xA9"), "\xC3\x83\xC2\xA9");
}

TEST(CommentTextTest, DoubleDashesAreSplitAndNothingElseChanges) {
    EXPECT_EQ(CommentText("a <b> & 'c'"), "a <b> & 'c'");
    EXPECT_EQ(CommentText("a--b"), "a- -b");
    EXPECT_EQ(CommentText("---"), "- - -");
    EXPECT_EQ(CommentText("----"), "- - - -");
    EXPECT_EQ(CommentText("-->"), "- ->");
    EXPECT_EQ(CommentText("ends-"), "ends-");
    EXPECT_EQ(CommentText(std::string("x\x02y\nz", 5)), "xy z");
}

TEST(CommentTextTest, AnyNoteMakesAWellFormedCommentLine) {
    const std::string hostile[] = {"--", "-", "a-", "--->", "<!-- x -->", "-- -- --", "\xE9-\xE9--"};
    for (const auto& note : hostile) {
        const std::string doc =
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<D>\r\n  <!-- " + CommentText(note) + " -->\r\n</D>\r\n";
        EXPECT_EQ(XmlWellFormedCheck::Check(doc), "") << note;
    }
}

TEST(TrimTextTest, RemovesBlanksAndControlCharactersAtBothEnds) {
    EXPECT_EQ(TrimText("  \t\r\n Power \x01\x1F "), "Power");
    EXPECT_EQ(TrimText("Vol  Up"), "Vol  Up");
    EXPECT_EQ(TrimText(" \t "), "");
    EXPECT_EQ(TrimText("\xC3\xA9 "), "\xC3\xA9");
}

// The check must reject what it is there to catch, or the device file tests prove nothing.
TEST(XmlWellFormedCheckTest, RejectsBrokenDocuments) {
    const std::string head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<!DOCTYPE D SYSTEM \"D.dtd\">\r\n";
    EXPECT_EQ(XmlWellFormedCheck::Check(head + "<D><N>a &amp; b</N><E /></D>\r\n"), "");
    const std::string broken[] = {
        head + "<D><N>a & b</N></D>",
        head + "<D><N>a < b</N></D>",
        head + "<D><N>a</D></N>",
        head + "<D><N>a</N>",
        head + "<D><!-- a -- b --></D>",
        head + "<D><!-- a ---></D>",
        head + "<D>]]></D>",
        head + "<D>&nbsp;</D>",
        head + "<D>\x01</D>",
        head + "<D>\xE9</D>",
        head + "<D>\xC2\x80\xC0\xAF</D>",
        head + "<X></X>",
        head + "<D></D><D></D>",
        "<D/>" + head,
        head + "<D>\xEF\xBF\xBF</D>",
    };
    for (const auto& doc : broken) EXPECT_NE(XmlWellFormedCheck::Check(doc), "") << doc;
}

}  // namespace
}  // namespace spectrel
