#pragma once
// Qt views of the learning procedures' progress bar and coloured output list, used by the button dialogs.

#include <QListWidget>
#include <QProgressBar>
#include <QStyledItemDelegate>

#include "Code/SPX_AppSettings.h"
#include "Code/SPX_CaptureViews.h"
#include "Code/SPX_ProtocolDescription.h"

namespace spectrel {

// A QProgressBar as the procedures' progress bar.
class TQtProgressBar : public TCaptureProgressBar {
public:
    explicit TQtProgressBar(QProgressBar* bar) : bar_(bar) {}
    void setRange(int minimum, int maximum) override { bar_->setRange(minimum, maximum); }
    void setPosition(int position) override;
    int position() const override { return bar_->value(); }
    void redraw() override { bar_->repaint(); }

private:
    QProgressBar* bar_;
};

// Draws a line with colour codes: each run in the palette colour in force where it starts.
class TColouredLineDelegate : public QStyledItemDelegate {
public:
    explicit TColouredLineDelegate(QObject* parent = nullptr) : QStyledItemDelegate(parent) {}
    void SetPalette(const TListPalette& palette) { palette_ = palette; }
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // The raw line (with its colour codes) is kept in this role; the display role holds the line without them.
    static constexpr int kRawLineRole = Qt::UserRole + 1;

private:
    TListPalette palette_;
};

// A QListWidget as a coloured list of the procedures; lines are 16 pixels high.
class TQtColouredList : public TColouredList {
public:
    explicit TQtColouredList(QListWidget* list);
    int Count() const override { return list_->count(); }
    std::string Line(int index) const override;
    void Add(const std::string& line) override;
    void Replace(int index, const std::string& line) override;
    void Delete(int index) override;
    void Clear() override { list_->clear(); }
    void FlashLine(int index) override;

private:
    QListWidget* list_;
};

}  // namespace spectrel
