#pragma once
// The button grid's model: one row per button of the button list with its name, its code text (through the
// substitution rules when they are on) and its picture. Rows are rebuilt from the list on every refresh and
// carry the index of their button.

#include <QAbstractTableModel>
#include <functional>
#include <vector>

#include "Code/SPX_ButtonListEditing.h"

namespace spectrel {

class TbuttonCodes;
class TReplaceRule;
class TDirectoryImageList;

class TButtonGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { kNameColumn = 0, kCodeColumn = 1, kColumnCount = 2 };

    // `options` is asked at every rebuild; `images` may be null (no pictures).
    TButtonGridModel(const TbuttonCodes& buttons, const TReplaceRule& rules, const Tprotocol_descriptor& current,
                     std::function<TCodeDisplayOptions()> options, TDirectoryImageList* images,
                     QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The pictures beside the names (null: none); used from the next rebuild on.
    void SetImages(TDirectoryImageList* images) { images_ = images; }
    // Builds the rows again from the button list.
    void Rebuild();
    // The button index that row carries; -1 outside the rows.
    int ButtonIndexOfRow(int row) const;
    const std::vector<TButtonGridRow>& Rows() const { return rows_; }

private:
    const TbuttonCodes& buttons_;
    const TReplaceRule& rules_;
    const Tprotocol_descriptor& current_;
    std::function<TCodeDisplayOptions()> options_;
    TDirectoryImageList* images_;
    std::vector<TButtonGridRow> rows_;
    std::vector<int> imageIndexes_;
};

}  // namespace spectrel
