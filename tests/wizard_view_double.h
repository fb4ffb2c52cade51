#pragma once
// The wizard's window held in memory: what each page shows, and what the user typed or selected.

#include <ostream>
#include <string>
#include <vector>

#include "Code/SPX_WizardFlow.h"

namespace spectrel {
inline void PrintTo(const TWizardRow& row, std::ostream* out) { *out << "{\"" << row.label << "\", \"" << row.value << "\"}"; }
}  // namespace spectrel

namespace spectrel::test {

class ProgressDouble : public TCaptureProgressBar {
public:
    void setRange(int minimum, int maximum) override { low = minimum, high = maximum; }
    void setPosition(int value) override { at = value; }
    int position() const override { return at; }
    void redraw() override {}
    int low = 0;
    int high = 100;
    int at = 0;
};

class WizardViewDouble : public TWizardView {
public:
    void ShowPage(int shownPage, const TWizardNavigation& shownNavigation) override {
        page = shownPage;
        navigation = shownNavigation;
        pagesShown.push_back(shownPage);
    }
    void SetNavigation(const TWizardNavigation& shownNavigation) override {
        navigation = shownNavigation;
        navigationHistory.push_back(shownNavigation);
    }
    void SetSubtitle(int forPage, const std::string& text) override {
        subtitles[static_cast<std::size_t>(forPage)] = text;
    }
    void CloseWizard() override { closed = true; }

    TWizardDetails Details() const override { return details; }
    void SetDetails(const TWizardDetails& shown) override { details = shown; }
    void SetBrandLists(const std::vector<std::string>& brands) override {
        details.deviceBrand.items = brands;
        details.remoteBrand.items = brands;
    }

    bool StandardChosen() const override { return standardChosen; }
    void SetStandardChosen(bool standard) override { standardChosen = standard; }

    std::string ProtocolNameField() const override { return protocolName; }
    void SetProtocolNameField(const std::string& name) override { protocolName = name; }
    TColouredList& LearnResults() override { return learnResults; }
    TCaptureProgressBar* ProtocolProgressBar() override { return &protocolProgress; }
    void ShowProtocolProgress(bool shown) override { protocolProgressShown = shown; }
    void EnableLearnProtocol(bool enabled) override { learnEnabled = enabled; }
    void SetEditProtocolState(bool visible, bool enabled) override {
        editProtocolVisible = visible;
        editProtocolEnabled = enabled;
    }

    TColouredList& StandardDetails() override { return standardDetails; }
    void SetStandardNames(const std::vector<std::string>& names, int selected) override {
        standardNames = names;
        selectedStandard = selected;
    }
    int SelectedStandard() const override { return selectedStandard; }

    void SetTemplateNames(const std::vector<std::string>& names) override { templateNames = names; }
    void SetButtonNames(const std::vector<TNamedIndex>& names) override {
        buttonNames = names;
        if (selectedButton >= static_cast<int>(names.size())) selectedButton = -1;
    }
    int SelectedButtonEntry() const override { return selectedButton; }
    void SelectButtonEntry(int entry) override { selectedButton = entry; }
    void EnableButtonListCommands(bool enabled) override { buttonCommandsEnabled = enabled; }

    void SetGridRows(const std::vector<TWizardRow>& rows) override {
        grid = rows;
        selectedRow = -1;
    }
    void RewriteGridRows(const std::vector<TWizardRow>& rows) override {
        ++rewrites;
        for (std::size_t i = 0; i < grid.size() && i < rows.size(); ++i) grid[i] = rows[i];
    }
    int GridRowCount() const override { return static_cast<int>(grid.size()); }
    std::string GridCell(int row, int column) const override {
        const TWizardRow& cells = grid.at(static_cast<std::size_t>(row));
        return column == 0 ? cells.label : cells.value;
    }
    int SelectedGridRow() const override { return selectedRow; }
    void SelectGridRow(int row) override { selectedRow = row; }
    void EnableGridCommands(bool enabled) override { gridCommandsEnabled = enabled; }
    TCaptureProgressBar* ButtonsProgressBar() override { return &buttonsProgress; }
    void ShowButtonsProgress(bool shown) override {
        buttonsProgressShown = shown;
        buttonsProgressHistory.push_back(shown);
    }

    void SetSummary(const std::vector<TWizardRow>& rows) override { summary = rows; }

    int page = -1;
    std::vector<int> pagesShown;
    TWizardNavigation navigation;
    std::vector<TWizardNavigation> navigationHistory;
    std::vector<std::string> subtitles = std::vector<std::string>(kWizardPageCount);
    bool closed = false;
    TWizardDetails details;
    bool standardChosen = false;
    std::string protocolName;
    TTextLines learnResults;
    ProgressDouble protocolProgress;
    bool protocolProgressShown = false;
    bool learnEnabled = true;
    bool editProtocolVisible = false;
    bool editProtocolEnabled = false;
    TTextLines standardDetails;
    std::vector<std::string> standardNames;
    int selectedStandard = -1;
    std::vector<std::string> templateNames;
    std::vector<TNamedIndex> buttonNames;
    int selectedButton = -1;
    bool buttonCommandsEnabled = false;
    std::vector<TWizardRow> grid;
    int rewrites = 0;
    int selectedRow = -1;
    bool gridCommandsEnabled = false;
    ProgressDouble buttonsProgress;
    bool buttonsProgressShown = false;
    std::vector<bool> buttonsProgressHistory;
    std::vector<TWizardRow> summary;
};

}  // namespace spectrel::test
