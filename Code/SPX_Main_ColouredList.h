#pragma once
// The coloured lists of the main window: DrawColouredItem as a delegate that draws each line in the runs its
// colour codes give (and never shows a selection), and the adapter through which the procedures write to such
// a list.

#include <QListWidget>
#include <QStyledItemDelegate>

#include "Code/SPX_AppSettings.h"
#include "Code/SPX_ProtocolDescription.h"

namespace spectrel {

// The colour of a palette entry on this system (the two system colours resolved).
QColor PaletteColour(const TListColour& colour);

// Draws one line: the rectangle filled with `background`, then the runs of the line from its left edge, each on an
// opaque background of its own colour. `textColourCode` is the colour the line starts in (a code 1 to 6).
void DrawColouredItem(QPainter& painter, const QRect& rectangle, const QString& line, const QFont& font,
                      const TListPalette& palette, int textColourCode, const QColor& background);

class TColouredItemDelegate : public QStyledItemDelegate {
public:
    // The palette must outlive the delegate.
    TColouredItemDelegate(const TListPalette& palette, QObject* parent);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    void SetLineHeight(int pixels) { lineHeight_ = pixels; }

private:
    const TListPalette& palette_;
    int lineHeight_ = 13;
};

// A QListWidget as the coloured list of the procedures. Numbers are written with the user's decimal separator.
class TColouredListWidget : public QListWidget, public TColouredList {
public:
    // Lines `lineHeight` pixels high in Courier New of `fontPixels` pixels.
    TColouredListWidget(const TListPalette& palette, int lineHeight, int fontPixels, QWidget* parent = nullptr);

    int Count() const override { return count(); }
    std::string Line(int index) const override;
    void Add(const std::string& line) override;
    void Replace(int index, const std::string& line) override;
    void Delete(int index) override;
    void Clear() override { clear(); }
    void SetTextColour(char colourCode) override;
    void FlashLine(int index) override;
    char DecimalSeparator() const override;
    void restoreNormalColour() override {}

    // The colour code the lines start in (1 black, 2 teal).
    int TextColourCode() const { return textColour_; }
    // Every line as stored, colour codes included.
    QStringList Lines() const;

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    int textColour_ = 1;
};

}  // namespace spectrel
