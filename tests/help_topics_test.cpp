// The help shipped in data/help: every context number the windows use opens an existing page of its own, every
// topic and keyword leads to a page that is there, and every link of every page leads to a page that is there.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "Code/SPX_WizardFlow.h"
#include "shell/core/HelpTopics.h"

namespace spectrel::shell {
namespace {

namespace fs = std::filesystem;

fs::path HelpFolder() { return fs::path(SPECTREL_SOURCE_DIR) / "data" / "help"; }

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

struct ContextCase {
    int context;
    const char* page;
};

// The wizard's pages and their topics.
const ContextCase kContextCases[] = {
    {3100, "wizard_welcome.html"}, {3150, "wizard_details.html"}, {3300, "wizard_learn_protocol.html"},
    {3400, "wizard_buttons.html"}, {3500, "wizard_learn_buttons.html"}, {3600, "wizard_save.html"},
};

class HelpContext : public ::testing::TestWithParam<ContextCase> {};

TEST_P(HelpContext, OpensItsOwnPageThatIsThere) {
    EXPECT_EQ(HelpPageForContext(GetParam().context), GetParam().page);
    EXPECT_TRUE(fs::exists(HelpFolder() / GetParam().page));
    EXPECT_FALSE(HelpTopicTitle(GetParam().page).empty());
}

INSTANTIATE_TEST_SUITE_P(Wizard, HelpContext, ::testing::ValuesIn(kContextCases),
                         [](const auto& info) { return std::to_string(info.param.context); });

TEST(HelpTopics, EveryContextNumberTheWizardUsesHasAPage) {
    int withHelp = 0;
    for (int page = 0; page < kWizardPageCount; ++page) {
        const int context = WizardPageInfo(page).helpContext;
        if (context == 0) continue;
        ++withHelp;
        const std::string topic = HelpPageForContext(context);
        EXPECT_NE(topic, kContentsPage) << WizardPageInfo(page).title;
        EXPECT_TRUE(fs::exists(HelpFolder() / topic)) << topic;
    }
    EXPECT_EQ(withHelp, 6);
}

TEST(HelpTopics, AnUnknownContextNumberOpensTheContents) {
    EXPECT_EQ(HelpPageForContext(0), "index.html");
    EXPECT_EQ(HelpPageForContext(3200), "index.html");
}

TEST(HelpTopics, EveryTopicAndKeywordLeadsToAPageAndEveryPageIsATopic) {
    std::set<std::string> topics;
    for (const THelpTopic& topic : HelpTopics()) {
        EXPECT_TRUE(fs::exists(HelpFolder() / topic.page)) << topic.page;
        EXPECT_TRUE(topics.insert(topic.page).second) << topic.page << " listed twice";
        // The page's own title is the one in the contents.
        EXPECT_NE(ReadText(HelpFolder() / topic.page).find(std::string("<title>") + topic.title + "</title>"),
                  std::string::npos)
            << topic.page;
    }
    for (const THelpKeyword& keyword : HelpKeywords()) EXPECT_TRUE(topics.count(keyword.page)) << keyword.keyword;
    for (const auto& entry : fs::directory_iterator(HelpFolder())) {
        EXPECT_TRUE(topics.count(entry.path().filename().string())) << entry.path() << " is no topic";
    }
}

TEST(HelpTopics, EveryLinkOfEveryPageLeadsToAPageThatIsThere) {
    const std::regex link(R"re(href="([^"#:]+)(#[^"]*)?")re");
    int links = 0;
    for (const THelpTopic& topic : HelpTopics()) {
        const std::string text = ReadText(HelpFolder() / topic.page);
        for (auto it = std::sregex_iterator(text.begin(), text.end(), link); it != std::sregex_iterator(); ++it) {
            EXPECT_TRUE(fs::exists(HelpFolder() / (*it)[1].str())) << topic.page << " links to " << (*it)[1];
            ++links;
        }
    }
    EXPECT_GT(links, 50);
}

TEST(HelpTopics, HelpIsLookedForBesideTheProgramThenInTheInstalledShareFolder) {
    EXPECT_EQ(HelpFolderCandidates("/opt/spectrel/bin"),
              (std::vector<std::string>{"/opt/spectrel/bin/help", "/opt/spectrel/bin/../share/spectrel/help"}));
}

}  // namespace
}  // namespace spectrel::shell
