#pragma once
// The topics of the program's help: HTML pages in the "help" folder shipped beside the program, the contents
// (the topics in reading order), the index (keywords leading to topics) and the context numbers the windows
// open the help with.

#include <string>
#include <vector>

namespace spectrel::shell {

// The folder of the help pages beside the executables.
inline constexpr const char* kHelpFolderName = "help";
inline constexpr const char* kContentsPage = "index.html";
inline constexpr const char* kIndexPage = "keywords.html";
inline constexpr const char* kHelpOnHelpPage = "using_help.html";

struct THelpTopic {
    const char* page;   // file in the help folder
    const char* title;  // as listed in the contents
};

struct THelpContext {
    int context;       // the number a window opens the help with
    const char* page;  // the topic shown
};

struct THelpKeyword {
    const char* keyword;
    const char* page;
};

// Every topic in reading order, the contents page first.
const std::vector<THelpTopic>& HelpTopics();
// The context numbers the windows use (the wizard's pages) and their topics.
const std::vector<THelpContext>& HelpContexts();
// The index, sorted by keyword without regard to case.
const std::vector<THelpKeyword>& HelpKeywords();

// The page of a context number; the contents page for a number no window uses.
std::string HelpPageForContext(int context);
// The title of a page; empty for a page that is no topic.
std::string HelpTopicTitle(const std::string& page);

// Where the help pages are looked for, in order: "help" beside the executable, then "share/spectrel/help"
// above it (an installed program). `executableFolder` without a trailing separator.
std::vector<std::string> HelpFolderCandidates(const std::string& executableFolder);

}  // namespace spectrel::shell
