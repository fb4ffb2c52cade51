#include "Code/SPX_ButtonListEditing.h"

#include <algorithm>

#include "Code/SPX_Data_ButtonCodes.h"
#include "Code/SPX_DeviceDetails.h"
#include "Code/SPX_replace.h"
#include "platform/FileDialogs.h"
#include "platform/MessageBoxes.h"

namespace spectrel {

using platform::MessageButton;
using platform::MessageKind;

// --- the grid -------------------------------------------------------------------------------------------------------

std::string ButtonCodeDisplayText(const TButtonCode& button, const TReplaceRule& rules,
                                  const Tprotocol_descriptor& current, const TCodeDisplayOptions& options) {
    // "<not recorded>" is no code: a rule such as "c" -> "2" must not turn it into "<not re2orded>".
    if (!button.HasCode() || !options.UseSubstutionRules) return button.CodeText();
    return TranslateCode(rules, current, button.CodeText(), options.SubsBinByHex);
}

std::vector<TButtonGridRow> ButtonGridRows(const TbuttonCodes& buttons, const TReplaceRule& rules,
                                           const Tprotocol_descriptor& current, const TCodeDisplayOptions& options) {
    std::vector<TButtonGridRow> rows;
    rows.reserve(static_cast<std::size_t>(buttons.Count()));
    for (int i = 0; i < buttons.Count(); ++i) {
        const TButtonCode& button = buttons.Items(i);
        rows.push_back({button.Name(), ButtonCodeDisplayText(button, rules, current, options), i});
    }
    return rows;
}

int RowToSelectAfterRefresh(int rememberedRow, int rowCount) {
    if (rememberedRow < 0 || rowCount <= 0) return -1;
    return std::min(rememberedRow, rowCount - 1);
}

TGridCommandStates GridCommandStates(bool hasSelectedRow) {
    return {hasSelectedRow, hasSelectedRow, hasSelectedRow, hasSelectedRow};
}

bool IsGridDeleteKey(int keyCode, bool shift, bool ctrl, bool alt) {
    return keyCode == kDeleteKeyCode && !shift && !ctrl && !alt;
}

// --- list changes ---------------------------------------------------------------------------------------------------

std::vector<int> SortedButtonIndexes(std::vector<int> indexes) {
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    return indexes;
}

void DeleteButtons(TbuttonCodes& buttons, const std::vector<int>& indexes) {
    const std::vector<int> sorted = SortedButtonIndexes(indexes);
    for (auto it = sorted.rbegin(); it != sorted.rend(); ++it) {
        if (*it >= 0 && *it < buttons.Count()) buttons.Delete(*it);
    }
}

void ClearButtonCodes(TbuttonCodes& buttons, const std::vector<int>& indexes) {
    for (int index : SortedButtonIndexes(indexes)) {
        if (index >= 0 && index < buttons.Count()) buttons.Items(index).ClearCodes();
    }
}

void AppendButtons(TbuttonCodes& buttons, const std::vector<std::string>& lines) {
    for (const std::string& line : lines) buttons.Add(line);
}

// --- templates -----------------------------------------------------------------------------------------------------

std::string TemplateExistsText(const std::string& name) {
    return "A template named \"" + name + "\" exists already.\rReplace it with the buttons of the list?";
}

// --- button-name files ----------------------------------------------------------------------------------------------

std::string ButtonNamesText(const TbuttonCodes& buttons) {
    std::string text;
    for (int i = 0; i < buttons.Count(); ++i) {
        text += buttons.Items(i).Name();
        text += "\r\n";
    }
    return text;
}

TFileResult LoadButtonNamesFile(TbuttonCodes& buttons, const std::string& path) {
    TTextLinesResult read = ReadTextLinesFile(path);
    if (!read.ok) return {false, read.message};
    buttons.Clear();
    AppendButtons(buttons, read.lines);
    return {true, {}};
}

TFileResult SaveButtonNamesFile(const TbuttonCodes& buttons, const std::string& path) {
    return ReplaceFileContents(path, ButtonNamesText(buttons));
}

std::string ButtonTemplatesFolder(const std::string& applicationFolder) {
    return applicationFolder + button_text::kButtonTemplatesFolder;
}

// --- the Templates menu ---------------------------------------------------------------------------------------------

TTemplateMenuModel::TTemplateMenuModel(std::function<void()> onSave, std::function<void()> onDeleteAll) {
    entries_.push_back({{}, kKeepMenuCommandTag, true, {}});
    entries_.push_back({button_text::kTemplateSave, kKeepMenuCommandTag, false, std::move(onSave)});
    entries_.push_back({button_text::kTemplateDeleteAll, kKeepMenuCommandTag, false, std::move(onDeleteAll)});
}

int TTemplateMenuModel::CommandTag(int index) const { return entries_.at(static_cast<std::size_t>(index)).tag; }

void TTemplateMenuModel::DeleteCommand(int index) {
    if (index < 0 || index >= CommandCount()) return;
    entries_.erase(entries_.begin() + index);
    Notify();
}

void TTemplateMenuModel::InsertCommand(int index, const std::string& caption, int tag, std::function<void()> action) {
    index = std::clamp(index, 0, CommandCount());
    entries_.insert(entries_.begin() + index, TEntry{caption, tag, false, std::move(action)});
    Notify();
}

std::vector<std::string> TTemplateMenuModel::Captions() const {
    std::vector<std::string> captions;
    for (const TEntry& entry : entries_) captions.push_back(entry.separator ? "-" : entry.caption);
    return captions;
}

bool TTemplateMenuModel::Trigger(int index) const {
    if (index < 0 || index >= CommandCount()) return false;
    const TEntry& entry = entries_[static_cast<std::size_t>(index)];
    if (entry.separator || !entry.action) return false;
    // The action may rebuild the menu; run a copy.
    const std::function<void()> action = entry.action;
    action();
    return true;
}

// --- clipboard commands ---------------------------------------------------------------------------------------------

TClipboardCommandStates ClipboardCommandStates(const TFocusedControl& focused, bool clipboardHasText) {
    TClipboardCommandStates states;
    const bool textControl = focused.kind == TFocusKind::TextField || focused.kind == TFocusKind::Memo;
    const bool selectable = textControl || focused.kind == TFocusKind::EditableDropDown;
    states.cut = selectable && focused.hasSelection;
    states.copy = states.cut;
    states.paste = clipboardHasText && ((textControl && !focused.readOnly) ||
                                        focused.kind == TFocusKind::EditableDropDown);
    return states;
}

// --- the commands ---------------------------------------------------------------------------------------------------

TButtonListCommands::TButtonListCommands(TButtonListModel model, TButtonListView& view)
    : model_(std::move(model)), view_(view) {}

void TButtonListCommands::btnAddButtonClick() {
    auto button = std::make_unique<TButtonCode>(model_.buttons.Bus());
    button->SetName(button_text::kNewButtonName);
    if (!model_.dialogs.ExecuteButtonEdit(*button)) return;
    model_.buttons.AddButton(std::move(button));
    view_.RefreshButtonGrid();
    view_.SelectLastButton();
    view_.UpdateCommandStates(true);
}

void TButtonListCommands::btnAddMultipleButtonsClick() {
    std::vector<std::string> lines;
    if (!model_.dialogs.ExecuteAddButtons(lines)) return;
    AppendButtons(model_.buttons, lines);
    view_.RefreshButtonGrid();
    view_.SelectLastButton();
    view_.UpdateCommandStates(true);
}

void TButtonListCommands::ButtonGridDblClick() {
    const std::vector<int> selected = view_.SelectedButtonIndexes();
    if (selected.empty()) return;
    const int index = selected.front();
    if (index < 0 || index >= model_.buttons.Count()) return;
    if (model_.dialogs.ExecuteButtonEdit(model_.buttons.Items(index))) view_.RefreshButtonGrid();
}

void TButtonListCommands::aClearButtonCodeExecute() {
    ClearButtonCodes(model_.buttons, view_.SelectedButtonIndexes());
    view_.RefreshButtonGrid();
    view_.UpdateCommandStates(true);
}

void TButtonListCommands::aDeleteButtonExecute() {
    DeleteButtons(model_.buttons, view_.SelectedButtonIndexes());
    view_.RefreshButtonGrid();
    view_.UpdateCommandStates(true);
}

void TButtonListCommands::SaveAs1Click() {
    if (model_.buttons.Count() == 0) {
        model_.boxes.show(MessageKind::Error, button_text::kNoValidButtonNames, MessageButton::Ok);
        return;
    }
    std::string name;
    if (!model_.dialogs.ExecuteRestrictedEdit(name, button_text::kSaveTemplatePrompt, button_text::kTemplateNameExtra,
                                              button_text::kTemplateNameMode)) {
        return;
    }
    std::vector<std::string> names;
    for (int i = 0; i < model_.buttons.Count(); ++i) names.push_back(model_.buttons.Items(i).Name());
    // The settings file keeps one template per name (names compare without case), so a template saved under a
    // name in use replaces that one where it stands, keeping its name, as the next start would show it.
    const int existing = model_.templates.IndexOfName(name);
    if (existing >= 0) {
        const std::string existingName = model_.templates.TemplateName(existing);
        if (model_.boxes.show(MessageKind::Confirmation, TemplateExistsText(existingName),
                              MessageButton::Yes | MessageButton::No) != MessageButton::Yes) {
            return;
        }
        std::vector<std::string> lines = model_.templates.Lines();
        lines[static_cast<std::size_t>(existing)] = TButtonTemplates::MakeTemplateLine(existingName, names);
        model_.templates.SetLines(std::move(lines));
    } else {
        model_.templates.Add(TButtonTemplates::MakeTemplateLine(name, names));
    }
    model_.templates.RefreshViews();
}

void TButtonListCommands::Clear1Click() {
    model_.buttons.Clear();
    view_.RefreshButtonGrid();
    view_.UpdateCommandStates(true);
}

void TButtonListCommands::mnuLoadButtonNames() {
    platform::FileDialogRequest request;
    request.title = button_text::kLoadButtonsTitle;
    request.filter = button_text::kButtonNamesFilter;
    request.initialFolder = ButtonTemplatesFolder(model_.applicationFolder);
    const std::optional<std::string> chosen = model_.fileDialogs.openFile(request);
    if (!chosen) return;
    const TFileResult loaded = LoadButtonNamesFile(model_.buttons, *chosen);
    if (!loaded) model_.boxes.show(MessageKind::Error, loaded.message, MessageButton::Ok);
    view_.RefreshButtonGrid();
    // The new list changes what "Learn All" can do.
    view_.UpdateCommandStates(true);
}

void TButtonListCommands::mnuSaveButtonsClick() {
    platform::FileDialogRequest request;
    request.title = button_text::kSaveButtonsTitle;
    request.filter = button_text::kButtonNamesFilter;
    request.initialFolder = ButtonTemplatesFolder(model_.applicationFolder);
    request.defaultExtension = button_text::kButtonNamesExtension;
    const std::optional<std::string> chosen = model_.fileDialogs.saveFile(request);
    if (!chosen) return;
    const TFileResult saved = SaveButtonNamesFile(model_.buttons, *chosen);
    if (!saved) model_.boxes.show(MessageKind::Error, saved.message, MessageButton::Ok);
}

}  // namespace spectrel
