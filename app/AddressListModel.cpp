// The address list's table model.
#include "app/AddressListModel.h"

#include "app/AddressListColumns.h"
#include "app/SeasonColumns.h"

namespace q2 {

int TAddressListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(list_.size());
}

int TAddressListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kAddressListColumnCount + kSeasonColumnCount;
}

QVariant TAddressListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= static_cast<int>(list_.size())) return QVariant();
    const bool season = IsSeasonColumn(index.column());
    if ((role == Qt::DisplayRole || role == Qt::ToolTipRole) && season)
        return SeasonColumnText(*list_[index.row()], index.column(), season_);
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return ColumnText(*list_[index.row()], index.column());
    if (role == Qt::TextAlignmentRole && (index.column() == 0 || index.column() == 13 || season))
        return int(Qt::AlignCenter);
    return QVariant();
}

QVariant TAddressListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && IsSeasonColumn(section)) {
        if (role == Qt::ToolTipRole) return SeasonColumnToolTip(section, season_);
        if (role == Qt::DisplayRole) return SeasonColumnCaption(section, season_);
    }
    if (role != Qt::DisplayRole) return QVariant();
    if (orientation == Qt::Horizontal) return ColumnCaption(section);
    return section + 1;
}

void TAddressListModel::Redraw() {
    if (list_.empty()) return;
    emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

void TAddressListModel::SetSeason(int season) {
    season_ = season;
    emit headerDataChanged(Qt::Horizontal, kFirstSeasonColumn,
                           kFirstSeasonColumn + kSeasonColumnCount - 1);
    Redraw();
}

}  // namespace q2
