#include "Code/SPX_Main_ColouredList.h"

#include <QApplication>
#include <QLocale>
#include <QPainter>
#include <QToolTip>

#include "Code/SPX_ColouredText.h"

namespace spectrel {

QColor PaletteColour(const TListColour& colour) {
    switch (colour.kind) {
        case TListColour::Kind::TooltipBackground:
            return QToolTip::palette().color(QPalette::ToolTipBase);
        case TListColour::Kind::WindowBackground:
            return QApplication::palette().color(QPalette::Base);
        case TListColour::Kind::Rgb:
            break;
    }
    return QColor(colour.red, colour.green, colour.blue);
}

void DrawColouredItem(QPainter& painter, const QRect& rectangle, const QString& line, const QFont& font,
                      const TListPalette& palette, int textColourCode, const QColor& background) {
    painter.save();
    painter.fillRect(rectangle, background);
    painter.setFont(font);
    const QFontMetrics metrics(font);
    int x = rectangle.left();
    for (const TColouredRun& run : ColouredRuns(line.toStdString(), textColourCode)) {
        const QString text = QString::fromStdString(run.text);
        const int width = metrics.horizontalAdvance(text);
        const QRect runRect(x, rectangle.top(), width, rectangle.height());
        const QColor runBackground =
            run.backgroundColour == kListOwnColour ? background : PaletteColour(palette.Colour(run.backgroundColour));
        painter.fillRect(runRect, runBackground);
        painter.setPen(run.textColour == kListOwnColour ? QColor(Qt::black) : PaletteColour(palette.Colour(run.textColour)));
        painter.drawText(runRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
        x += width;
    }
    painter.restore();
}

TColouredItemDelegate::TColouredItemDelegate(const TListPalette& palette, QObject* parent)
    : QStyledItemDelegate(parent), palette_(palette) {}

void TColouredItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const {
    // The selection is never shown: a selected line looks as it did before.
    const auto* list = dynamic_cast<const TColouredListWidget*>(option.widget);
    const int start = list != nullptr ? list->TextColourCode() : 1;
    const QColor background = option.palette.color(QPalette::Base);
    const QString line = index.data(Qt::DisplayRole).toString();
    DrawColouredItem(*painter, option.rect, line, option.font, palette_, start, background);
}

QSize TColouredItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const QString line = index.data(Qt::DisplayRole).toString();
    QString shown;
    for (QChar c : line)
        if (c.unicode() > 8) shown += c;
    return {QFontMetrics(option.font).horizontalAdvance(shown) + 4, lineHeight_};
}

TColouredListWidget::TColouredListWidget(const TListPalette& palette, int lineHeight, int fontPixels,
                                         QWidget* parent)
    : QListWidget(parent) {
    auto* delegate = new TColouredItemDelegate(palette, this);
    delegate->SetLineHeight(lineHeight);
    setItemDelegate(delegate);
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(fontPixels);
    setFont(font);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
}

std::string TColouredListWidget::Line(int index) const { return item(index)->text().toStdString(); }

void TColouredListWidget::Add(const std::string& line) { addItem(QString::fromStdString(line)); }

void TColouredListWidget::Replace(int index, const std::string& line) {
    item(index)->setText(QString::fromStdString(line));
}

void TColouredListWidget::Delete(int index) { delete takeItem(index); }

void TColouredListWidget::SetTextColour(char colourCode) {
    textColour_ = colourCode;
    viewport()->update();
}

void TColouredListWidget::FlashLine(int index) {
    setCurrentRow(index);
    repaint();
    clearSelection();
}

char TColouredListWidget::DecimalSeparator() const {
    const QString point = QLocale().decimalPoint();
    return point.size() == 1 && point[0].unicode() < 128 ? static_cast<char>(point[0].unicode()) : '.';
}

QStringList TColouredListWidget::Lines() const {
    QStringList lines;
    for (int i = 0; i < count(); ++i) lines << item(i)->text();
    return lines;
}

void TColouredListWidget::focusOutEvent(QFocusEvent* event) {
    clearSelection();
    QListWidget::focusOutEvent(event);
}

}  // namespace spectrel
