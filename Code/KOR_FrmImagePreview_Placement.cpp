#include "Code/KOR_FrmImagePreview_Placement.h"

#include <QWidget>

#include "shell/ZELFormSize.h"

namespace spectrel {
namespace {

constexpr const char* kSection = "ZELFormSize";

// The shell's form placement on the preview's own key: the default placement when the window is loaded, then
// the saved one when it fits the screen.
class TFormSizePlacement : public TImagePreviewPlacement {
public:
    explicit TFormSizePlacement(platform::UserStore& store) : store_(store) {}

    void Restore(QWidget& window) override {
        FormSize(window).Default();
        FormSize(window).Restore();
    }
    void Save(const QWidget& window) override {
        FormSize(const_cast<QWidget&>(window)).Save();
        store_.flush();
    }

private:
    shell::TZELFormSize FormSize(QWidget& window) {
        shell::TZELFormSize formSize(store_, window);
        formSize.SetKey(shell::TStoreKey{kImagePreviewPlacementKey, kSection});
        return formSize;
    }

    platform::UserStore& store_;
};

}  // namespace

std::unique_ptr<TImagePreviewPlacement> MakeImagePreviewPlacement(platform::UserStore& store) {
    return std::make_unique<TFormSizePlacement>(store);
}

}  // namespace spectrel
