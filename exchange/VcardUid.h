// The UID of each exported card: the same for a record in every export, kept
// in a small file of the data folder because the book file has no place for it.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "model/UserInfoList.h"

namespace q2 {

// "vcard-uid.txt" in the data folder.
QString VcardUidPath();

class TVcardUidStore {
public:
    // Reads the file; a missing or damaged file gives an empty store.
    explicit TVcardUidStore(QString path = VcardUidPath());

    // The UIDs for the records of the book, in book order. A record takes the
    // UID of the stored entry it matches (every remembered field equal, or
    // the same registration date and most of the fields: an edited record);
    // a record matching none gets a new UID. The entries then remember the
    // records as they are now.
    QStringList Assign(const TUserInfoList& book);

    // Writes the file (through a temporary file); false when it cannot be written.
    bool Save() const;

    int Count() const { return static_cast<int>(entries_.size()); }

private:
    struct Entry {
        QString Uid;
        QStringList Keys;  // the fields a record is recognised by
    };
    QString path_;
    std::vector<Entry> entries_;
};

}  // namespace q2
