#pragma once
// Button templates: named lists of button names, one per kind of device (TV, VCR, DVD ...). Applying a
// template makes the button list hold exactly the template's buttons: buttons already there keep their
// learned codes, missing ones are added, the others are removed.
//
// Each line is name + "=" + value, the value being the button names between double quotes, separated by
// commas. The order of the lines is the order of the templates in menus and lists.

#include <functional>
#include <string>
#include <vector>

#include "Code/SPX_Data.h"  // SplitCommaText
#include "Code/SPX_IniFile.h"

namespace spectrel {

class TbuttonCodes;

inline constexpr const char* kButtonTemplatesSection = "Button Templates Section";
// Menu commands with this tag are the window's own and stay when the template commands are rebuilt.
inline constexpr int kKeepMenuCommandTag = 99;

// The template submenu, as the window layer shows it.
class TTemplateMenu {
public:
    virtual ~TTemplateMenu() = default;
    virtual int CommandCount() const = 0;
    virtual int CommandTag(int index) const = 0;
    virtual void DeleteCommand(int index) = 0;
    // Inserts a command before position `index`; choosing it runs `action`.
    virtual void InsertCommand(int index, const std::string& caption, int tag, std::function<void()> action) = 0;
};

// A list box showing the template names (the preferences dialog's list).
class TTemplateListBox {
public:
    virtual ~TTemplateListBox() = default;
    virtual void SetItems(const std::vector<std::string>& items) = 0;
    // The selected row, -1 when none.
    virtual int SelectedIndex() const = 0;
};

// The ten built-in templates as name=value lines, in menu order.
const std::vector<std::string>& DefaultTemplateLines();


class TButtonTemplates {
public:
    TButtonTemplates() = default;
    // The menu, list box and button list are not owned; destroying the templates leaves them alone.
    TButtonTemplates(const TButtonTemplates&) = delete;
    TButtonTemplates& operator=(const TButtonTemplates&) = delete;

    // --- the lines
    int Count() const { return static_cast<int>(lines_.size()); }
    const std::string& Strings(int index) const;
    const std::vector<std::string>& Lines() const { return lines_; }
    void Add(const std::string& line) { lines_.push_back(line); }
    void Delete(int index);
    void Clear() { lines_.clear(); }
    void SetLines(std::vector<std::string> lines) { lines_ = std::move(lines); }
    // Takes the lines of another list (its views and button list stay its own).
    void Assign(const TButtonTemplates& other) { lines_ = other.lines_; }

    // --- the settings file
    // Replaces the lines with the entries of "Button Templates Section" (the defaults when there are none)
    // and rebuilds the bound views. A value whose outer quotes the store dropped gets them back, so the lines
    // read are the lines saved.
    void LoadTemplates(const TIniFile& settings);
    // Clears the lines, adds the ten default templates, then RefreshViews.
    void SetDefaultTemplates();
    // Erases "Button Templates Section" and writes one entry per line, in line order. Returns the first
    // failure of the file.
    TIniResult SaveTemplates(TIniFile& settings) const;

    // The text of line `index` before its first "=" (the whole line when it has none).
    std::string TemplateName(int index) const;
    // The first template named `name`, blanks around the names and case ignored, as the settings file compares
    // its keys; -1 when there is none.
    int IndexOfName(const std::string& name) const;
    // The text after the first "=", with the outer double quotes put back when the store lost them.
    std::string TemplateValue(int index) const;
    // name + "=" + the names, each between double quotes, joined by commas.
    static std::string MakeTemplateLine(const std::string& name, const std::vector<std::string>& names);

    // --- views
    // Removes every command of the menu not tagged 99, then puts one command per template at the top,
    // in line order (caption the name, tag the line index). Null unbinds.
    void BindMenu(TTemplateMenu* menu);
    // Fills the list box with the template names. Null unbinds.
    void BindListBox(TTemplateListBox* listBox);
    // Builds the bound menu and list box again.
    void RefreshViews();
    TTemplateMenu* Menu() const { return menu_; }
    TTemplateListBox* ListBox() const { return listBox_; }

    // --- applying
    void SetButtonList(TbuttonCodes* buttons) { buttons_ = buttons; }
    TbuttonCodes* ButtonList() const { return buttons_; }
    // Runs after a template was applied (the main window refreshes its grid and command states).
    void SetOnApplied(std::function<void()> onApplied) { onApplied_ = std::move(onApplied); }

    // Applies template `index` to the button list: buttons named in the template stay (case ignored) in their
    // order, the others are removed; the names left over are appended in alphabetical order. False (and
    // nothing changed) when there is no such template. The button list must be set.
    bool ApplyTemplate(int index);
    // The template of a menu command is the one its tag names.
    bool ApplyTemplateFromMenuCommand(int tag) { return ApplyTemplate(tag); }
    // The template selected in the bound list box.
    bool ApplyTemplateFromListBox();

private:
    std::vector<std::string> lines_;
    TTemplateMenu* menu_ = nullptr;
    TTemplateListBox* listBox_ = nullptr;
    TbuttonCodes* buttons_ = nullptr;
    std::function<void()> onApplied_;
};

}  // namespace spectrel
