#include "Code/KOR_frmExploreButtons_Views.h"

#include <QApplication>
#include <QPainter>

namespace spectrel {

namespace {

constexpr int kLineHeight = 16;

QColor ToQColor(const TListColour& colour, const QPalette& palette) {
    switch (colour.kind) {
        case TListColour::Kind::TooltipBackground:
            return palette.color(QPalette::ToolTipBase);
        case TListColour::Kind::WindowBackground:
            return palette.color(QPalette::Base);
        case TListColour::Kind::Rgb:
            break;
    }
    return QColor(colour.red, colour.green, colour.blue);
}

}  // namespace

void TQtProgressBar::setPosition(int position) {
    bar_->setValue(std::clamp(position, bar_->minimum(), bar_->maximum()));
}

void TColouredLineDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const {
    QStyleOptionViewItem plain = option;
    initStyleOption(&plain, index);
    plain.text.clear();
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &plain, painter, widget);

    const std::string line = index.data(kRawLineRole).toString().toStdString();
    const bool selected = option.state & QStyle::State_Selected;
    QColor text = option.palette.color(QPalette::Text);
    QRect rect = option.rect.adjusted(2, 0, -2, 0);
    painter->save();
    painter->setFont(option.font);
    std::string run;
    auto flush = [&] {
        if (run.empty()) return;
        const QString shown = QString::fromStdString(run);
        painter->setPen(selected ? option.palette.color(QPalette::HighlightedText) : text);
        painter->drawText(rect, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, shown);
        rect.setLeft(rect.left() + painter->fontMetrics().horizontalAdvance(shown));
        run.clear();
    };
    for (char c : line) {
        if (c >= 1 && c <= 6) {
            flush();
            text = ToQColor(palette_.Colour(c), option.palette);
        } else if (c == 7 || c == 8) {
            flush();
        } else {
            run += c;
        }
    }
    flush();
    painter->restore();
}

QSize TColouredLineDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(kLineHeight);
    return size;
}

TQtColouredList::TQtColouredList(QListWidget* list) : list_(list) {}

std::string TQtColouredList::Line(int index) const {
    const QListWidgetItem* item = list_->item(index);
    return item ? item->data(TColouredLineDelegate::kRawLineRole).toString().toStdString() : std::string();
}

void TQtColouredList::Add(const std::string& line) {
    auto* item = new QListWidgetItem(QString::fromStdString(StripColourCodes(line)));
    item->setData(TColouredLineDelegate::kRawLineRole, QString::fromStdString(line));
    list_->addItem(item);
}

void TQtColouredList::Replace(int index, const std::string& line) {
    QListWidgetItem* item = list_->item(index);
    if (!item) return;
    item->setText(QString::fromStdString(StripColourCodes(line)));
    item->setData(TColouredLineDelegate::kRawLineRole, QString::fromStdString(line));
}

void TQtColouredList::Delete(int index) { delete list_->takeItem(index); }

void TQtColouredList::FlashLine(int index) {
    list_->setCurrentRow(index);
    list_->repaint();
    list_->clearSelection();
}

}  // namespace spectrel
