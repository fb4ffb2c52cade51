#pragma once
// The learned buttons of a remote: each with a name, the IR code of its data frame (the I frame) and the code of
// the second data frame (the J frame) when the protocol has one. Every change of a button is published on the bus
// to whoever watches it.

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "FlashXML/Code/KOR_TManagedFlashObject.h"

namespace spectrel {

inline constexpr const char* kNotRecordedText = "<not recorded>";

class TButtonCode : public TFlashElement {
public:
    // Name and codes empty. The bus must outlive the button.
    explicit TButtonCode(TInfoBus& bus);
    ~TButtonCode() override;

    const std::string& Name() const { return name_; }
    const std::string& Code() const { return code_; }
    const std::string& SecondCode() const { return secondCode_; }

    // Store the text as given, then Changed.
    void SetName(const std::string& name);
    void SetCode(const std::string& code);
    void SetSecondCode(const std::string& secondCode);
    // Empties both codes, then Changed.
    void ClearCodes();
    // The code or the second code is not empty.
    bool HasCode() const { return !code_.empty() || !secondCode_.empty(); }
    // "<code> <second code>" when the button has a code, otherwise "<not recorded>".
    std::string CodeText() const;

    // Every change is published: Modified re-arms publication before the inherited Changed.
    void Changed() override;

private:
    std::string name_;
    std::string secondCode_;
    std::string code_;
};

// An index outside the list: "List index out of bounds (<index>)".
class EListError : public std::out_of_range {
public:
    explicit EListError(int index);
};

// A button name with its index in the list (FillNames).
struct TNamedIndex {
    std::string name;
    int index = 0;
    bool operator==(const TNamedIndex&) const = default;
};

// The ordered list of buttons; it owns them. Removing a button destroys it (after it has left the list, so a
// watcher that looks at the list during the destruction notice no longer finds it there).
class TbuttonCodes {
public:
    // The buttons publish on bus, which must outlive the list.
    explicit TbuttonCodes(TInfoBus& bus);
    // A list with a bus of its own (Bus()), for code that has none at hand; watchers subscribe on Bus() and must
    // be gone before the list.
    TbuttonCodes();
    TbuttonCodes(const TbuttonCodes&) = delete;
    TbuttonCodes& operator=(const TbuttonCodes&) = delete;
    ~TbuttonCodes();

    int Count() const { return static_cast<int>(buttons_.size()); }
    // EListError outside 0 to Count-1.
    TButtonCode& Items(int index) const;
    // Appends a button named name (trimmed), without codes.
    TButtonCode& Add(const std::string& name);
    // Appends a button with name, code and second code each trimmed; returns its index.
    int AddWithCodes(const std::string& name, const std::string& code, const std::string& secondCode);
    // Appends an existing button; the list takes ownership. A null button is ignored.
    void AddButton(std::unique_ptr<TButtonCode> button);
    // Removes and destroys the button at index; EListError outside 0 to Count-1 (the list is unchanged).
    void Delete(int index);
    // Removes and destroys every button.
    void Clear();
    // ClearCodes on every button, in list order.
    void ClearAllCodes();
    // The first button with a code whose code and second code equal the given ones (trimmed, case-sensitive);
    // -1 when none.
    int FindByCodes(const std::string& code, const std::string& secondCode) const;
    // True when every button has a code (also for an empty list).
    bool AllHaveCodes() const;
    bool AnyHasCode() const;
    // Replaces the contents of names by every button's name with its index, in list order.
    void FillNames(std::vector<TNamedIndex>& names) const;
    // Index of the button, -1 when it is not in the list.
    int IndexOf(const TObject* button) const;

    TInfoBus& Bus() const { return bus_; }

private:
    std::unique_ptr<TInfoBus> ownBus_;
    TInfoBus& bus_;
    std::vector<std::unique_ptr<TButtonCode>> buttons_;
};

}  // namespace spectrel
