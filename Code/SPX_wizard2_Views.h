#pragma once
// The wizard's small widgets: a list box whose lines carry colour codes (drawn run by run, never highlighted),
// a progress bar the learning procedures drive, and the two-column grids whose columns take one third and two
// thirds of the width.

#include <QListWidget>
#include <QProgressBar>
#include <QStyledItemDelegate>
#include <QTableWidget>

#include "Code/SPX_AppSettings.h"
#include "Code/SPX_CaptureViews.h"
#include "Code/SPX_ProtocolDescription.h"

namespace spectrel::wizard {

// The colour of a palette entry, system colours taken from the widget's palette.
QColor PaletteColour(const TListColour& colour, const QPalette& system);

// Draws a line with colour codes: each run of ordinary characters in the current text and background colour.
class TColouredLineDelegate : public QStyledItemDelegate {
public:
    TColouredLineDelegate(const TListPalette& palette, QObject* parent);
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void SetTextColour(char colourCode) { textColour_ = colourCode; }

private:
    const TListPalette& palette_;
    char textColour_ = colour_code::kBlack;
};

class TColouredListBox : public QListWidget, public TColouredList {
public:
    TColouredListBox(const TListPalette& palette, QWidget* parent = nullptr);

    int Count() const override { return count(); }
    std::string Line(int index) const override;
    void Add(const std::string& line) override;
    void Replace(int index, const std::string& line) override;
    void Delete(int index) override;
    void Clear() override { clear(); }
    void SetTextColour(char colourCode) override;
    // Every line as stored, colour codes included.
    std::vector<std::string> Lines() const;

protected:
    // Lines added while the list was hidden: the newest show when it appears.
    void showEvent(QShowEvent* event) override;

private:
    TColouredLineDelegate* delegate_;
};

class TProgressView : public QProgressBar, public TCaptureProgressBar {
public:
    explicit TProgressView(QWidget* parent = nullptr);
    void setRange(int minimum, int maximum) override { QProgressBar::setRange(minimum, maximum); }
    void setPosition(int position) override;
    int position() const override { return value(); }
    void redraw() override { repaint(); }
};

// A grid of two columns: one third of its width and two thirds minus 25 pixels.
class TThirdsGrid : public QTableWidget {
public:
    explicit TThirdsGrid(QWidget* parent = nullptr);

protected:
    void resizeEvent(QResizeEvent* event) override;
};

}  // namespace spectrel::wizard
