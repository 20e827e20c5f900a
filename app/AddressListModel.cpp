// The address list's table model.
#include "app/AddressListModel.h"

#include "app/AddressListColumns.h"

namespace q2 {

int TAddressListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(list_.size());
}

int TAddressListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kAddressListColumnCount;
}

QVariant TAddressListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= static_cast<int>(list_.size())) return QVariant();
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return ColumnText(*list_[index.row()], index.column());
    if (role == Qt::TextAlignmentRole && (index.column() == 0 || index.column() == 13))
        return int(Qt::AlignCenter);
    return QVariant();
}

QVariant TAddressListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return QVariant();
    if (orientation == Qt::Horizontal) return ColumnCaption(section);
    return section + 1;
}

void TAddressListModel::Redraw() {
    if (list_.empty()) return;
    emit dataChanged(index(0, 0), index(rowCount() - 1, kAddressListColumnCount - 1));
}

}  // namespace q2
