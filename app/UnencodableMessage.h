// The question asked before a save when some texts cannot be stored in the
// file's character set: which record, which field, and whether to go on.
#pragma once

#include <QList>
#include <QString>

#include "model/UserInfoList.h"

namespace q2 {

// The field's name as the user knows it, e.g. "名前(姓)" or "履歴2の内容".
QString FieldLabel(const QString& propertyName);

QString UnencodableQuestion(const TUserInfoList& book, const QList<TUnencodableField>& fields);

}  // namespace q2
