#include "Code/SPX_PreferencesModel.h"

#include <algorithm>
#include <utility>

#include "Code/uKOR_SpectrelIni.h"

namespace spectrel {

namespace text = preferences_text;

// --- tree and pages

const std::vector<TPreferencesNode>& PreferencesTree() {
    static const std::vector<TPreferencesNode> tree = {
        {text::kFormPreferences, -1}, {text::kFlatButtons, 0},       {text::kRememberPositions, 0},
        {text::kShowHints, 0},        {text::kHintTime, 0},          {text::kPersistentNode, 0},
        {text::kWizardView, 0},       {text::kAdvanced, -1},         {text::kMatchToStandard, 7},
        {text::kUseSubstitution, 7},  {text::kAllowProtocolEdit, 7}, {text::kAllowDecodingEdit, 7},
        {text::kAttachProtocol, 7},   {text::kButtonTemplates, -1},
    };
    return tree;
}

const std::vector<TPreferencesPage>& PreferencesPages() {
    static const std::vector<TPreferencesPage> pages = {
        {text::kFormPreferences,
         "Options here affect the look or behavior of controls on the main form. you can either set the controls "
         "here or get a more detailed view by selecting the appropiate sub item on the tree."},
        {text::kFlatButtons,
         "This affects the tool bar buttons. Flat buttons have no border unless depressed. Change the checkbox to "
         "view the sample."},
        {text::kRememberPositions,
         "Floating controls can be set to remember where they are between sessions, or to open up in their default "
         "positions and visibility."},
        {text::kShowHints,
         "Hints (also known as tool tips) are the little yellow boxes that appear when you hover a mouse over a "
         "control (like a button). You can turn these off or on depending on your preference."},
        {text::kHintTime,
         "This is the amount of time in milliseconds that the hint (Tooltip) is displayed. Make the number smaller "
         "to decrease the time the hint is displayed. Show hints must be checked for the hints to work."},
        {text::kPersistentPage,
         "You can set the form  so that it will reopen using the size and position values at closure. If you set "
         "this to false then the form will reopen sized to the screen."},
        {text::kWizardView, text::kWizardView},
        {text::kAdvanced, "Advanced Settings\nFOR ADVANCED USERS ONLY"},
        {text::kMatchToStandard, text::kMatchToStandard},
        {text::kUseSubstitution, text::kUseSubstitution},
        {text::kAllowProtocolEdit, text::kAllowProtocolEdit},
        {text::kAllowDecodingEdit, text::kAllowDecodingEdit},
        {text::kAttachProtocol, text::kAttachProtocol},
        {text::kButtonTemplates, text::kButtonTemplates},
    };
    return pages;
}

std::string PageOfNode(const std::string& nodeText) {
    if (nodeText == text::kPersistentNode) return text::kPersistentPage;
    for (const TPreferencesPage& page : PreferencesPages())
        if (page.title == nodeText) return page.title;
    return {};
}

std::string PageHint(const std::string& title) { return title + text::kPageHintSuffix; }

// --- the template editor

TTemplateEditor::TTemplateEditor(TButtonTemplates& templates, std::function<void()> changed)
    : templates_(templates), changed_(std::move(changed)) {}

void TTemplateEditor::Reset() { SelectName(-1); }

std::vector<std::string> TTemplateEditor::Names() const {
    std::vector<std::string> names;
    for (int i = 0; i < NameCount(); ++i) names.push_back(templates_.TemplateName(i));
    return names;
}

TTemplateCommandStates TTemplateEditor::Commands() const {
    TTemplateCommandStates s;
    const bool named = nameIndex_ >= 0 && nameIndex_ < NameCount();
    s.nameEdit = named;
    s.nameDelete = named;
    s.nameUp = named && nameIndex_ > 0;
    // Cloning follows moving up: the first template cannot be cloned.
    s.nameClone = named && nameIndex_ > 0;
    s.nameDown = named && nameIndex_ < NameCount() - 1;
    const bool item = itemIndex_ >= 0 && itemIndex_ < ItemCount();
    s.itemAdd = named;
    s.itemEdit = item;
    s.itemDelete = item && ItemCount() > 1;
    s.itemUp = item && itemIndex_ > 0;
    s.itemDown = item && itemIndex_ < ItemCount() - 1 && named;
    return s;
}

void TTemplateEditor::SelectName(int index) {
    nameIndex_ = (index >= 0 && index < NameCount()) ? index : -1;
    items_.clear();
    if (nameIndex_ >= 0) items_ = SplitCommaText(templates_.TemplateValue(nameIndex_));
    itemIndex_ = items_.empty() ? -1 : 0;
}

void TTemplateEditor::SelectItem(int index) { itemIndex_ = (index >= 0 && index < ItemCount()) ? index : -1; }

bool TTemplateEditor::Ask(std::string& answer, const char* prompt) const { return ask_ && ask_(answer, prompt); }

void TTemplateEditor::SetLines(std::vector<std::string> lines) { templates_.SetLines(std::move(lines)); }

void TTemplateEditor::NameChanged() const {
    if (changed_) changed_();
}

void TTemplateEditor::ItemsChanged() {
    if (nameIndex_ >= 0) {
        std::vector<std::string> lines = templates_.Lines();
        lines[static_cast<std::size_t>(nameIndex_)] =
            TButtonTemplates::MakeTemplateLine(templates_.TemplateName(nameIndex_), items_);
        SetLines(std::move(lines));
    }
    if (changed_) changed_();
}

void TTemplateEditor::AddName() {
    std::string name;
    if (!Ask(name, text::kNamePrompt)) return;
    std::vector<std::string> lines = templates_.Lines();
    // With no template selected the new one goes to the end.
    const int at = nameIndex_ >= 0 ? nameIndex_ : NameCount();
    lines.insert(lines.begin() + at, TButtonTemplates::MakeTemplateLine(name, {}));
    SetLines(std::move(lines));
    SelectName(at);
    NameChanged();
}

void TTemplateEditor::EditName() {
    if (!Commands().nameEdit) return;
    std::string name = templates_.TemplateName(nameIndex_);
    if (!Ask(name, text::kNamePrompt)) return;
    std::vector<std::string> lines = templates_.Lines();
    lines[static_cast<std::size_t>(nameIndex_)] = TButtonTemplates::MakeTemplateLine(name, items_);
    SetLines(std::move(lines));
    SelectName(nameIndex_);
    NameChanged();
}

void TTemplateEditor::DeleteName() {
    if (!Commands().nameDelete) return;
    std::vector<std::string> lines = templates_.Lines();
    lines.erase(lines.begin() + nameIndex_);
    SetLines(std::move(lines));
    SelectName(std::min(nameIndex_, NameCount() - 1));
    NameChanged();
}

void TTemplateEditor::CloneName() {
    if (!Commands().nameClone) return;
    std::vector<std::string> lines = templates_.Lines();
    const std::string& line = lines[static_cast<std::size_t>(nameIndex_)];
    const std::size_t eq = line.find('=');
    std::string copy = templates_.TemplateName(nameIndex_) + text::kCloneSuffix;
    if (eq != std::string::npos) copy += line.substr(eq);
    lines.insert(lines.begin() + nameIndex_, std::move(copy));
    SetLines(std::move(lines));
    // The template copied from moved down one place and stays selected.
    SelectName(nameIndex_ + 1);
    NameChanged();
}

void TTemplateEditor::MoveNameUp() {
    if (!Commands().nameUp) return;
    std::vector<std::string> lines = templates_.Lines();
    std::swap(lines[static_cast<std::size_t>(nameIndex_)], lines[static_cast<std::size_t>(nameIndex_ - 1)]);
    SetLines(std::move(lines));
    SelectName(nameIndex_ - 1);
    NameChanged();
}

void TTemplateEditor::MoveNameDown() {
    if (!Commands().nameDown) return;
    std::vector<std::string> lines = templates_.Lines();
    std::swap(lines[static_cast<std::size_t>(nameIndex_)], lines[static_cast<std::size_t>(nameIndex_ + 1)]);
    SetLines(std::move(lines));
    SelectName(nameIndex_ + 1);
    NameChanged();
}

void TTemplateEditor::SetDefaults() {
    templates_.SetDefaultTemplates();
    SelectName(-1);
}

void TTemplateEditor::AddItem() {
    if (!Commands().itemAdd) return;
    std::string item;
    if (!Ask(item, text::kItemPrompt)) return;
    if (itemIndex_ >= 0) {
        items_.insert(items_.begin() + itemIndex_, item);
    } else {
        items_.push_back(item);
    }
    ItemsChanged();
}

void TTemplateEditor::EditItem() {
    if (!Commands().itemEdit) return;
    std::string item = items_[static_cast<std::size_t>(itemIndex_)];
    if (!Ask(item, text::kItemPrompt)) return;
    items_[static_cast<std::size_t>(itemIndex_)] = item;
    ItemsChanged();
}

void TTemplateEditor::DeleteItem() {
    if (!Commands().itemDelete) return;
    items_.erase(items_.begin() + itemIndex_);
    itemIndex_ = std::min(itemIndex_, ItemCount() - 1);
    ItemsChanged();
}

void TTemplateEditor::MoveItemUp() {
    if (!Commands().itemUp) return;
    std::swap(items_[static_cast<std::size_t>(itemIndex_)], items_[static_cast<std::size_t>(itemIndex_ - 1)]);
    --itemIndex_;
    ItemsChanged();
}

void TTemplateEditor::MoveItemDown() {
    if (!Commands().itemDown) return;
    std::swap(items_[static_cast<std::size_t>(itemIndex_)], items_[static_cast<std::size_t>(itemIndex_ + 1)]);
    ++itemIndex_;
    ItemsChanged();
}

// --- the dialog

namespace {

constexpr std::size_t kPairCount = static_cast<std::size_t>(TPreferencePair::UsePreferencesTree) + 1;

std::size_t Slot(TPreferencePair pair) { return static_cast<std::size_t>(pair); }

}  // namespace

TPreferencesModel::TPreferencesModel()
    : values_(kPairCount, false), editor_(templates_, [this] { Changed(); }), shownPage_(text::kFormPreferences) {}

bool TPreferencesModel::Execute(const std::function<bool()>& showModal) {
    if (OnLoad) OnLoad(*this);
    Prepare();
    const bool ok = showModal && showModal();
    if (ok && OnSave) OnSave(*this);
    return ok;
}

void TPreferencesModel::Prepare() {
    if (OnShowHints) OnShowHints(Value(TPreferencePair::ShowHints));
    shownPage_ = text::kFormPreferences;
    okEnabled_ = false;
}

bool TPreferencesModel::Value(TPreferencePair pair) const { return values_[Slot(pair)]; }

void TPreferencesModel::SetValue(TPreferencePair pair, bool value) { values_[Slot(pair)] = value; }

void TPreferencesModel::SetHintHidePause(int milliseconds) {
    hintHidePause_ = std::clamp(milliseconds, kHintTimeMinimum, kHintTimeMaximum);
}

void TPreferencesModel::SetTemplates(const TButtonTemplates& templates) {
    templates_.Assign(templates);
    editor_.Reset();
}

bool TPreferencesModel::Enabled(TPreferencePair pair) const {
    if (pair == TPreferencePair::SubsBinByHex) return Value(TPreferencePair::UseSubstutionRules);
    return true;
}

void TPreferencesModel::Click(TPreferencePair pair, bool value) {
    if (!Enabled(pair)) return;
    SetValue(pair, value);
    Changed();
    // Hints switch on or off at once; Cancel does not take this back.
    if (pair == TPreferencePair::ShowHints && OnShowHints) OnShowHints(value);
}

void TPreferencesModel::ChangeHintTime(int milliseconds) {
    SetHintHidePause(milliseconds);
    Changed();
}

void TPreferencesModel::Default() {
    SetValue(TPreferencePair::MatchToStandardProtocol, true);
    SetValue(TPreferencePair::UseSubstutionRules, true);
    SetValue(TPreferencePair::AllowProtocolEdit, false);
    SetValue(TPreferencePair::AllowDecodingParmeterEdit, false);
    Changed();
}

void TPreferencesModel::SelectNode(const std::string& nodeText) {
    const std::string page = PageOfNode(nodeText);
    if (!page.empty()) shownPage_ = page;
}

void TPreferencesModel::SelectPage(const std::string& title) {
    for (const TPreferencesPage& page : PreferencesPages())
        if (page.title == title) shownPage_ = title;
}

// --- the main window's callbacks

void LoadPreferences(TPreferencesModel& dialog, const shell::TShellPreferences& shell,
                     const TSpectrelIniObject& options, const TButtonTemplates& templates) {
    using P = TPreferencePair;
    dialog.SetValue(P::FlatButtons, shell.flatButtons);
    dialog.SetValue(P::SaveIntPos, shell.saveIntPos);
    dialog.SetValue(P::ShowHints, shell.showHelp);
    dialog.SetValue(P::SavePos, shell.savePos);
    dialog.SetValue(P::UsePreferencesTree, shell.usePreferencesTree);
    dialog.SetHintHidePause(shell.hintHidePause);

    dialog.SetValue(P::MatchToStandardProtocol, options.MatchToStandardProtocol);
    dialog.SetValue(P::UseSubstutionRules, options.UseSubstutionRules);
    dialog.SetValue(P::AllowProtocolEdit, options.AllowProtocolEdit);
    dialog.SetValue(P::AllowDecodingParmeterEdit, options.AllowDecodingParmeterEdit);
    dialog.SetValue(P::WizardView, options.WizardView);
    dialog.SetValue(P::AttachProtocol, options.AttachProtocol);
    dialog.SetValue(P::SubsBinByHex, options.SubsBinByHex);

    dialog.SetTemplates(templates);
}

void TakePreferences(const TPreferencesModel& dialog, shell::TShellPreferences& shell, TSpectrelIniObject& options,
                     TButtonTemplates& templates) {
    using P = TPreferencePair;
    shell.flatButtons = dialog.Value(P::FlatButtons);
    shell.saveIntPos = dialog.Value(P::SaveIntPos);
    shell.showHelp = dialog.Value(P::ShowHints);
    shell.savePos = dialog.Value(P::SavePos);
    shell.usePreferencesTree = dialog.Value(P::UsePreferencesTree);
    shell.hintHidePause = dialog.HintHidePause();

    options.MatchToStandardProtocol = dialog.Value(P::MatchToStandardProtocol);
    options.UseSubstutionRules = dialog.Value(P::UseSubstutionRules);
    options.AllowProtocolEdit = dialog.Value(P::AllowProtocolEdit);
    options.AllowDecodingParmeterEdit = dialog.Value(P::AllowDecodingParmeterEdit);
    options.WizardView = dialog.Value(P::WizardView);
    options.AttachProtocol = dialog.Value(P::AttachProtocol);
    options.SubsBinByHex = dialog.Value(P::SubsBinByHex);

    templates.Assign(dialog.Templates());
    templates.RefreshViews();
}

}  // namespace spectrel
