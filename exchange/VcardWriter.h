// Writing address records as vCards (3.0 or 4.0, UTF-8), with this program's
// own properties for what the common ones cannot hold, so that reading the
// file back gives the same records.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

#include "model/UserInfoList.h"

namespace q2 {

enum class TVcardVersion { V30, V40 };

// "3.0" or "4.0"; false for anything else.
bool ParseVcardVersion(const QString& text, TVcardVersion* version);

// One card; lines end with CR LF and are folded after 75 bytes. A card
// without `uid` gets a new one: servers refuse cards without.
QByteArray ComposeVcard(const TUserInfo& record, TVcardVersion version, const QString& uid = {});

// Every record of the book in book order, record i with uids[i] (see
// TVcardUidStore).
QByteArray ComposeVcards(const TUserInfoList& book, TVcardVersion version,
                         const std::function<void(int index)>& progress = {},
                         const QStringList& uids = {});

}  // namespace q2
