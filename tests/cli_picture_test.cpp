// spectrel-cli learn --picture: one SVG picture per capture of the run.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <sys/wait.h>

#include "tests/xml_wellformed.h"
#include "virtualboard/Generators.h"
#include "virtualboard/IrSignal.h"

namespace spectrel {
namespace {

#ifdef SPECTREL_CLI_PATH

namespace fs = std::filesystem;
namespace vb = virtualboard;

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class CliPictureTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("spectrel_cli_picture_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        // Two keys of a NEC remote, and a third whose header space lies outside the vocabulary.
        vb::IrSignal odd = vb::necSignal(0, 0x47);
        odd.name = "Odd";
        odd.once[1] = 2750;
        odd.once.back() += vb::kNecHeaderSpace - 2750;
        std::ofstream out(folder / "remote.txt");
        out << "Power: " << vb::formatSignal(vb::necSignal(0, 0x45)) << "\n";
        out << "Mute: " << vb::formatSignal(vb::necSignal(0, 0x46)) << "\n";
        out << "Odd: " << vb::formatSignal(odd) << "\n";
    }
    void TearDown() override { fs::remove_all(folder); }

    int Learn(const fs::path& pictures) {
        const std::string command = std::string("'") + SPECTREL_CLI_PATH + "' learn '" + (folder / "remote.txt").string() +
                                    "' --picture '" + pictures.string() + "' >'" + (folder / "out.txt").string() +
                                    "' 2>'" + (folder / "err.txt").string() + "'";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::set<std::string> Files(const fs::path& dir) {
        std::set<std::string> names;
        for (const fs::directory_entry& e : fs::directory_iterator(dir)) names.insert(e.path().filename().string());
        return names;
    }

    fs::path folder;
};

TEST_F(CliPictureTest, WritesOnePictureForEveryCaptureAndKeepsEarlierOnes) {
    const fs::path pictures = folder / "pictures";
    // Some buttons are not learned (the odd one): exit code 5.
    EXPECT_EQ(Learn(pictures), 5) << ReadAll(folder / "err.txt");
    const std::set<std::string> first = Files(pictures);
    // Three protocol presses, Power and Mute, and the odd key three times (twice more on Retry).
    ASSERT_GE(first.size(), 6u);
    EXPECT_EQ(*first.begin(), "capture-001.svg");
    bool refusalDrawn = false;
    for (const std::string& name : first) {
        EXPECT_EQ(name.rfind("capture-", 0), 0u) << name;
        const std::string svg = ReadAll(pictures / name);
        EXPECT_EQ(testing::XmlWellFormedCheck::Check(svg), "") << name;
        if (svg.find("1 interval matches no vocabulary element") != std::string::npos &&
            svg.find("fill=\"#ff0000\"") != std::string::npos) {
            refusalDrawn = true;
        }
    }
    EXPECT_TRUE(refusalDrawn);

    // A second run numbers its pictures after those of the first.
    EXPECT_EQ(Learn(pictures), 5);
    const std::set<std::string> both = Files(pictures);
    EXPECT_EQ(both.size(), 2 * first.size());
    for (const std::string& name : first) EXPECT_TRUE(both.count(name)) << name;
}

TEST_F(CliPictureTest, AFolderThatCannotBeMadeIsAnError) {
    std::ofstream(folder / "file") << "x";
    EXPECT_EQ(Learn(folder / "file" / "pictures"), 2);
    EXPECT_NE(ReadAll(folder / "err.txt").find("cannot create the picture folder"), std::string::npos);
}

#endif

}  // namespace
}  // namespace spectrel
