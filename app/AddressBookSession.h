// The open address book and everything that goes with it: the senders, the
// mail settings, the file it came from, whether it has unsaved changes, its
// undo history, and the new/open/save flows with their questions. QtCore
// only, so that the command-line tool and tests can drive it without a window.
#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "app/PasswordCheck.h"
#include "app/UndoHistory.h"
#include "model/MailConfig.h"
#include "model/NewYearSeason.h"
#include "model/SenderInfo.h"
#include "model/UserInfoList.h"
#include "platform/BookLock.h"

namespace q2 {

class TAddressBookSession : public QObject {
    Q_OBJECT
public:
    TAddressBookSession();

    TUserInfoList Book;
    TSenderInfoList Senders;
    TthMailConfig MailConfig;

    // Asks for the password of a file; without one, password files are not opened.
    std::function<TPasswordResult(const QString& stored)> FilePasswordCheck;
    // Asks for another file name when the book's file changed since it was
    // read and the user chose 名前を付けて保存; empty: cancelled.
    std::function<QString()> AskOtherPath;
    // How this program names itself to another writer waiting for the book.
    QString WriterName = QStringLiteral("Quintaro2");
    // How long a save waits for another writer of the book to finish.
    int LockWaitMs = TBookLock::kDefaultWaitMs;

    const QString& FileName() const { return fileName_; }
    // True while the book has no unsaved change.
    bool Saved() const { return history_.Saved(); }
    // For changes the undo history does not hold (settings, senders).
    void SetSaved(bool saved) { history_.SetSaved(saved); }
    TUndoHistory& History() { return history_; }

    // A password check asked to end the program: nothing more is loaded.
    bool Ended() const { return ended_; }

    // Reads "sender.dat" and "mail.dat", telling the user of damage.
    void LoadSenders();
    void LoadMailConfig();

    enum class TOpenResult { Opened, Missing, Cancelled, Damaged, Ended };
    // Opens a book file. Anything but Opened leaves the book, its file name
    // and its modified state as they were.
    TOpenResult Open(const QString& path);
    // Writes the book to `path` after the question about texts the file
    // cannot hold; on success the book is named after it and saved. The
    // write holds the book's lock; when `path` is the file the book was read
    // from and another program has written it since, the user chooses
    // between reloading it, overwriting it, another name and not saving.
    bool SaveAs(const QString& path);
    // Empties the book and forgets its name; the password stays for the
    // next save and the modified state is left as it was.
    void New();

    // Before the book is set aside: when it has changes, asks `question`
    // (保存 / 保存しない / キャンセル). 保存 writes to the book's file, or to the
    // path `askPath` gives for a book without one. False: stay with the book.
    bool MaySetAside(const QString& question, const std::function<QString()>& askPath);

    // Changes that go into the undo history. The records named must belong
    // to the book.
    TUserInfo* AddRecord(std::unique_ptr<TUserInfo> record);
    void DeleteRecords(const std::vector<TUserInfo*>& records);
    void SetPrintChecks(const std::vector<TUserInfo*>& records, bool on);
    // `record` now differs from `before` through the editor control `control`;
    // further changes through the same control join the same step.
    void RecordEdited(TUserInfo* record, const TUserInfo& before, const void* control);
    // The records from `first` to the end were appended as one change.
    void RecordsAppended(int first, const QString& text);
    // New Year's card marks already recorded on several records, as one step.
    void SeasonMarksRecorded(TSeasonMarkChanges changes);

signals:
    // Around every change of which records the book holds (open, new, undo
    // and redo of additions and deletions): pointers into the book may dangle
    // in between.
    void RecordsAboutToChange();
    void RecordsChanged();
    // Undo or redo changed the contents of a record (nullptr: of several).
    void RecordContentsChanged(TUserInfo* record);
    void SavedChanged();
    void FileNameChanged();
    void EndRequested();

private:
    void SetFileName(const QString& path);

    TUndoHistory history_;
    QString fileName_;
    TFileStamp loaded_;  // what fileName_ held when it was read or last written
    bool ended_ = false;
};

}  // namespace q2
