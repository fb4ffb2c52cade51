#include "Code/SPX_Main_ButtonGridModel.h"

#include "Code/KOR_XMLIMAGELIST.h"

namespace spectrel {

TButtonGridModel::TButtonGridModel(const TbuttonCodes& buttons, const TReplaceRule& rules,
                                   const Tprotocol_descriptor& current, std::function<TCodeDisplayOptions()> options,
                                   TDirectoryImageList* images, QObject* parent)
    : QAbstractTableModel(parent),
      buttons_(buttons),
      rules_(rules),
      current_(current),
      options_(std::move(options)),
      images_(images) {}

int TButtonGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int TButtonGridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumnCount; }

QVariant TButtonGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() < 0 || index.row() >= rowCount()) return {};
    const TButtonGridRow& row = rows_[static_cast<std::size_t>(index.row())];
    switch (role) {
        case Qt::DisplayRole:
        case Qt::ToolTipRole:
            return QString::fromStdString(index.column() == kNameColumn ? row.name : row.codeText);
        case Qt::DecorationRole:
            if (index.column() == kNameColumn && images_) {
                const int image = imageIndexes_[static_cast<std::size_t>(index.row())];
                if (image >= 0) return images_->Pixmap(image);
            }
            return {};
        case Qt::UserRole:
            return row.index;
        default:
            return {};
    }
}

QVariant TButtonGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, orientation, role);
    return section == kNameColumn ? tr("Name") : tr("IR Code");
}

void TButtonGridModel::Rebuild() {
    beginResetModel();
    rows_ = ButtonGridRows(buttons_, rules_, current_, options_ ? options_() : TCodeDisplayOptions{});
    imageIndexes_.assign(rows_.size(), -1);
    if (images_) {
        for (std::size_t i = 0; i < rows_.size(); ++i) imageIndexes_[i] = images_->FindButtonImage(rows_[i].name);
    }
    endResetModel();
}

int TButtonGridModel::ButtonIndexOfRow(int row) const {
    if (row < 0 || row >= rowCount()) return -1;
    return rows_[static_cast<std::size_t>(row)].index;
}

}  // namespace spectrel
