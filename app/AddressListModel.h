// The address list's table: rows are the display list's records, asked for
// only when the view draws them.
#pragma once

#include <QAbstractTableModel>

#include "app/DisplayList.h"

namespace q2 {

class TAddressListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TAddressListModel(const TDisplayList& list, QObject* parent = nullptr)
        : QAbstractTableModel(parent), list_(list) {}

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The display list is about to change or has changed as a whole.
    void BeginReset() { beginResetModel(); }
    void EndReset() { endResetModel(); }
    // Record contents changed, rows stayed.
    void Redraw();
    // The season the New Year's card columns show.
    void SetSeason(int season);

private:
    const TDisplayList& list_;
    int season_ = 0;
};

}  // namespace q2
