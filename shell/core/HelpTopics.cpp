#include "shell/core/HelpTopics.h"

#include <algorithm>
#include <cctype>

namespace spectrel::shell {

namespace {

// Context numbers of the wizard's pages.
constexpr int kWizardWelcomeContext = 3100;
constexpr int kWizardDetailsContext = 3150;
constexpr int kWizardLearnProtocolContext = 3300;
constexpr int kWizardButtonsContext = 3400;
constexpr int kWizardLearnButtonsContext = 3500;
constexpr int kWizardSaveContext = 3600;

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

const std::vector<THelpTopic>& HelpTopics() {
    static const std::vector<THelpTopic> topics = {
        {kContentsPage, "Spectrel Help"},
        {"connecting.html", "Connecting the reader board"},
        {"learn_protocol.html", "Learning a remote control's protocol"},
        {"standard_protocols.html", "Standard protocols"},
        {"learn_buttons.html", "Learning the buttons"},
        {"templates.html", "Button templates, names and brands"},
        {"saving.html", "Saving the device file"},
        {"wizard.html", "The Spectrel Wizard"},
        {"wizard_welcome.html", "Wizard: Welcome"},
        {"wizard_details.html", "Wizard: Remote Details"},
        {"wizard_learn_protocol.html", "Wizard: Learn Remote Control Protocol"},
        {"wizard_buttons.html", "Wizard: Get Button Template"},
        {"wizard_learn_buttons.html", "Wizard: Learn Buttons"},
        {"wizard_save.html", "Wizard: Save To File"},
        {"decoding_parameters.html", "Decoding parameters"},
        {"preferences.html", "Preferences"},
        {"messages.html", "Messages and what to do"},
        {kIndexPage, "Index"},
        {kHelpOnHelpPage, "Using the help"},
    };
    return topics;
}

const std::vector<THelpContext>& HelpContexts() {
    static const std::vector<THelpContext> contexts = {
        {kWizardWelcomeContext, "wizard_welcome.html"},
        {kWizardDetailsContext, "wizard_details.html"},
        {kWizardLearnProtocolContext, "wizard_learn_protocol.html"},
        {kWizardButtonsContext, "wizard_buttons.html"},
        {kWizardLearnButtonsContext, "wizard_learn_buttons.html"},
        {kWizardSaveContext, "wizard_save.html"},
    };
    return contexts;
}

const std::vector<THelpKeyword>& HelpKeywords() {
    static const std::vector<THelpKeyword> keywords = [] {
        std::vector<THelpKeyword> list = {
            {"Board, connecting", "connecting.html"},
            {"COM port", "connecting.html"},
            {"Serial port", "connecting.html"},
            {"Virtual reader board", "connecting.html"},
            {"No Reader", "messages.html"},
            {"Protocol, learning", "learn_protocol.html"},
            {"Protocol name", "learn_protocol.html"},
            {"NO NAME", "standard_protocols.html"},
            {"Standard protocols", "standard_protocols.html"},
            {"Matching to a standard protocol", "standard_protocols.html"},
            {"Buttons, learning", "learn_buttons.html"},
            {"Learn All", "learn_buttons.html"},
            {"Templates", "templates.html"},
            {"Brand lists", "templates.html"},
            {"Button names, loading and saving", "templates.html"},
            {"Button images", "templates.html"},
            {"Saving", "saving.html"},
            {"Device file", "saving.html"},
            {"Backups", "saving.html"},
            {"Wizard", "wizard.html"},
            {"Remote Details", "wizard_details.html"},
            {"Getting the Protocol", "wizard.html"},
            {"Get Standard Protocol", "wizard.html"},
            {"Decoding parameters", "decoding_parameters.html"},
            {"Minimum gap", "decoding_parameters.html"},
            {"Clock adjustment", "decoding_parameters.html"},
            {"Match tolerance", "decoding_parameters.html"},
            {"Preferences", "preferences.html"},
            {"Advanced options", "preferences.html"},
            {"Substitution rules", "preferences.html"},
            {"Error messages", "messages.html"},
            {"Carrier period", "messages.html"},
            {"Frames rate", "messages.html"},
            {"Help window", kHelpOnHelpPage},
        };
        std::sort(list.begin(), list.end(), [](const THelpKeyword& a, const THelpKeyword& b) {
            return Upper(a.keyword) < Upper(b.keyword);
        });
        return list;
    }();
    return keywords;
}

std::string HelpPageForContext(int context) {
    for (const THelpContext& c : HelpContexts()) {
        if (c.context == context) return c.page;
    }
    return kContentsPage;
}

std::string HelpTopicTitle(const std::string& page) {
    for (const THelpTopic& topic : HelpTopics()) {
        if (page == topic.page) return topic.title;
    }
    return {};
}

std::vector<std::string> HelpFolderCandidates(const std::string& executableFolder) {
    return {executableFolder + "/" + kHelpFolderName, executableFolder + "/../share/spectrel/" + kHelpFolderName};
}

}  // namespace spectrel::shell
