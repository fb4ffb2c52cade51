// Every device file the writer produces, from ordinary and from hostile input, read by Qt's XML parser.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QXmlStreamReader>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "Code/SPX_Data.h"
#include "Code/SPX_Files.h"
#include "tests/files_test_support.h"

namespace spectrel {
namespace {

// Parses the whole document; returns the parser's complaint, or an empty text. `texts` receives the text of every
// element that holds text, in document order, and `comments` every comment.
QString Parse(const std::string& document, QStringList* texts = nullptr, QStringList* comments = nullptr) {
    QXmlStreamReader reader(QByteArray(document.data(), static_cast<qsizetype>(document.size())));
    bool sawDoctype = false;
    int elements = 0;
    QString encoding;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
            case QXmlStreamReader::StartDocument:
                encoding = reader.documentEncoding().toString();
                break;
            case QXmlStreamReader::DTD:
                sawDoctype = true;
                break;
            case QXmlStreamReader::StartElement:
                ++elements;
                break;
            case QXmlStreamReader::Characters:
                if (texts && !reader.isWhitespace()) texts->append(reader.text().toString());
                break;
            case QXmlStreamReader::Comment:
                if (comments) comments->append(reader.text().toString());
                break;
            default:
                break;
        }
    }
    if (reader.hasError()) {
        return QStringLiteral("line %1, column %2: %3")
            .arg(reader.lineNumber())
            .arg(reader.columnNumber())
            .arg(reader.errorString());
    }
    if (!sawDoctype) return QStringLiteral("no document type");
    if (elements == 0) return QStringLiteral("no elements");
    if (encoding != QStringLiteral("UTF-8")) return QStringLiteral("not declared as UTF-8");
    return {};
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

TEST(FilesXmlQtTest, TheGoldenFileParses) {
    QStringList texts;
    QStringList comments;
    const std::string golden = ReadFile(std::string(SPECTREL_SOURCE_DIR) + "/tests/data/files_device_learned.xml");
    ASSERT_FALSE(golden.empty());
    EXPECT_EQ(Parse(golden, &texts, &comments).toStdString(), "");
    EXPECT_TRUE(texts.contains(QStringLiteral("AaAbAaAbAbAbAaAa")));
    EXPECT_TRUE(comments.contains(QStringLiteral(" Volume keys repeat while held <fast> ")));
}

// Without the mending these documents would not be accepted: the check above would prove nothing otherwise.
TEST(FilesXmlQtTest, TheParserRejectsWhatTheWriterMends) {
    const std::string head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<!DOCTYPE D SYSTEM \"D.dtd\">\r\n<D>";
    const std::string broken[] = {head + "<!-- a -- b --></D>", head + "<N>\x01</N></D>", head + "<N>\xE9</N></D>",
                                  head + "<N>a & b</N></D>", head + "<N>a < b</N></D>"};
    for (const auto& document : broken) EXPECT_NE(Parse(document).toStdString(), "") << document;
    EXPECT_EQ(Parse(head + "<N>a &amp; b</N></D>").toStdString(), "");
}

TEST(FilesXmlQtTest, EveryDocumentFromHostileTextParses) {
    const auto documents = files_test::HostileDocuments();
    ASSERT_GT(documents.size(), 200u);
    for (const auto& document : documents) {
        const QString problem = Parse(document);
        EXPECT_EQ(problem.toStdString(), "") << document;
        if (!problem.isEmpty()) break;
    }
}

TEST(FilesXmlQtTest, ValuesReadBackAsTheUserTypedThem) {
    TIRheader header;
    header.device_type = "  Amp & <Tuner> \"2\" it's ";
    header.device_brand = "Caf\xC3\xA9";
    header.notes[0] = "a <b> & c -- d-";
    header.note_count = 1;
    Tprotocol_descriptor protocol = files_test::LearnedProtocol();
    protocol.name = "R&B";
    // Pause letters of elements 31 and 100: code points 128 and 197.
    const std::string code = {'A', static_cast<char>('a' + 31), 'B', static_cast<char>('a' + 100)};
    bool corrupted = false;
    const std::string document =
        DeviceFileText(header, {{"Vol<+>", code, "AaBb"}}, protocol, true, files_test::kFixedDateTime, corrupted);
    QStringList texts;
    QStringList comments;
    ASSERT_EQ(Parse(document, &texts, &comments).toStdString(), "");
    EXPECT_TRUE(texts.contains(QStringLiteral("Amp & <Tuner> \"2\" it's")));
    EXPECT_TRUE(texts.contains(QString::fromUtf8("Caf\xC3\xA9")));
    EXPECT_TRUE(texts.contains(QStringLiteral("R&B")));
    QString expectedCode;
    expectedCode += QChar(u'A');
    expectedCode += QChar(char16_t(128));
    expectedCode += QChar(u'B');
    expectedCode += QChar(char16_t(197));
    EXPECT_TRUE(texts.contains(expectedCode));
    EXPECT_TRUE(comments.contains(QStringLiteral(" a <b> & c - - d- ")));
}

}  // namespace
}  // namespace spectrel
