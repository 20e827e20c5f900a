// Whole-file writes that never leave a torn file: the bytes go to a temporary
// file in the same folder, which then replaces the old one.
#pragma once

#include <QByteArray>
#include <QString>

namespace q2 {

bool WriteFileAtomically(const QString& path, const QByteArray& bytes);

// Test seam: when set, every atomic write stops after this many bytes and
// fails, as a full disk would leave it. A negative value switches it off.
void SetAtomicWriteFailureAfterForTesting(qint64 bytes);

}  // namespace q2
