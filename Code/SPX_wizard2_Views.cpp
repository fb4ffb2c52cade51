#include "Code/SPX_wizard2_Views.h"

#include <QHeaderView>
#include <QPainter>
#include <QResizeEvent>

#include "Code/SPX_WizardFlow.h"

namespace spectrel::wizard {

QColor PaletteColour(const TListColour& colour, const QPalette& system) {
    switch (colour.kind) {
        case TListColour::Kind::TooltipBackground:
            return system.color(QPalette::ToolTipBase);
        case TListColour::Kind::WindowBackground:
            return system.color(QPalette::Base);
        case TListColour::Kind::Rgb:
            break;
    }
    return QColor(colour.red, colour.green, colour.blue);
}

TColouredLineDelegate::TColouredLineDelegate(const TListPalette& palette, QObject* parent)
    : QStyledItemDelegate(parent), palette_(palette) {}

void TColouredLineDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const {
    const QByteArray line = index.data(Qt::UserRole).toByteArray();
    const QColor listBackground = option.palette.color(QPalette::Base);
    painter->fillRect(option.rect, listBackground);
    if (line.isEmpty()) return;

    painter->save();
    painter->setFont(option.font);
    QColor text = PaletteColour(palette_.Colour(textColour_), option.palette);
    QColor background = listBackground;
    int x = option.rect.left() + 2;
    QByteArray run;
    const auto drawRun = [&] {
        if (run.isEmpty()) return;
        const QString shown = QString::fromUtf8(run);
        const int width = option.fontMetrics.horizontalAdvance(shown);
        const QRect box(x, option.rect.top(), width, option.rect.height());
        painter->fillRect(box, background);
        painter->setPen(text);
        painter->drawText(box, Qt::AlignLeft | Qt::AlignTop, shown);
        x += width;
        run.clear();
    };
    for (const char c : line) {
        if (c >= 1 && c <= 8) {
            drawRun();
            const QColor colour = PaletteColour(palette_.Colour(c), option.palette);
            if (c <= 6) {
                text = colour;
            } else {
                background = colour;
            }
        } else {
            run.push_back(c);
        }
    }
    drawRun();
    painter->restore();
}

QSize TColouredLineDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const QString shown = QString::fromStdString(StripColourCodes(index.data(Qt::UserRole).toByteArray().toStdString()));
    return {option.fontMetrics.horizontalAdvance(shown) + 4, option.fontMetrics.height() + 1};
}

TColouredListBox::TColouredListBox(const TListPalette& palette, QWidget* parent)
    : QListWidget(parent), delegate_(new TColouredLineDelegate(palette, this)) {
    setItemDelegate(delegate_);
    setSelectionMode(QAbstractItemView::NoSelection);
    setFocusPolicy(Qt::NoFocus);
    setUniformItemSizes(true);
}

std::string TColouredListBox::Line(int index) const {
    const QListWidgetItem* entry = item(index);
    return entry == nullptr ? std::string() : entry->data(Qt::UserRole).toByteArray().toStdString();
}

void TColouredListBox::Add(const std::string& line) {
    auto* entry = new QListWidgetItem(QString::fromStdString(StripColourCodes(line)));
    entry->setData(Qt::UserRole, QByteArray::fromStdString(line));
    addItem(entry);
    scrollToBottom();
}

void TColouredListBox::Replace(int index, const std::string& line) {
    if (QListWidgetItem* entry = item(index)) {
        entry->setText(QString::fromStdString(StripColourCodes(line)));
        entry->setData(Qt::UserRole, QByteArray::fromStdString(line));
    }
}

void TColouredListBox::Delete(int index) { delete takeItem(index); }

void TColouredListBox::SetTextColour(char colourCode) {
    delegate_->SetTextColour(colourCode);
    viewport()->update();
}

void TColouredListBox::showEvent(QShowEvent* event) {
    QListWidget::showEvent(event);
    scrollToBottom();
}

std::vector<std::string> TColouredListBox::Lines() const {
    std::vector<std::string> lines;
    for (int i = 0; i < count(); ++i) lines.push_back(Line(i));
    return lines;
}

TProgressView::TProgressView(QWidget* parent) : QProgressBar(parent) { setTextVisible(false); }

void TProgressView::setPosition(int position) { setValue(std::clamp(position, minimum(), maximum())); }

TThirdsGrid::TThirdsGrid(QWidget* parent) : QTableWidget(0, 2, parent) {
    horizontalHeader()->setStretchLastSection(false);
    verticalHeader()->hide();
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void TThirdsGrid::resizeEvent(QResizeEvent* event) {
    QTableWidget::resizeEvent(event);
    const TGridColumnWidths widths = WizardGridColumnWidths(width());
    setColumnWidth(0, widths.name);
    setColumnWidth(1, std::max(widths.code, 0));
}

}  // namespace spectrel::wizard
