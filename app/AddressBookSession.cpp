// The open address book and its flows.
#include "app/AddressBookSession.h"

#include <QFileInfo>
#include <QSet>
#include <algorithm>

#include "app/SaveChoice.h"
#include "app/UnencodableMessage.h"
#include "model/DataPaths.h"
#include "platform/DataFolder.h"
#include "platform/Prompter.h"
#include "platform/SafeFile.h"
#include "platform/UserFile.h"

namespace q2 {
namespace {

// Every record out of the book, in order; PutAll puts them back.
std::vector<std::unique_ptr<TUserInfo>> TakeAll(TUserInfoList& book) {
    std::vector<std::unique_ptr<TUserInfo>> all(book.Count());
    for (int i = book.Count() - 1; i >= 0; --i) all[i] = book.Remove(i);
    return all;
}

void PutAll(TUserInfoList& book, std::vector<std::unique_ptr<TUserInfo>>& records) {
    for (auto& r : records) book.Add(std::move(r));
    records.clear();
}

// Records taken out of the book and put back where they stood.
class TRemoveStep : public TUndoStep {
public:
    TRemoveStep(TAddressBookSession& s, QString text, std::vector<TUserInfo*> records)
        : s_(s), text_(std::move(text)), records_(std::move(records)) {}
    QString Text() const override { return text_; }
    // Takes the records out, remembering their places.
    void Redo() override {
        emit s_.RecordsAboutToChange();
        const QSet<const TUserInfo*> doomed(records_.begin(), records_.end());
        std::vector<std::unique_ptr<TUserInfo>> all = TakeAll(s_.Book), kept;
        kept.reserve(all.size());
        for (size_t i = 0; i < all.size(); ++i) {
            if (doomed.contains(all[i].get()))
                held_.push_back({int(i), std::move(all[i])});
            else
                kept.push_back(std::move(all[i]));
        }
        PutAll(s_.Book, kept);
        emit s_.RecordsChanged();
    }
    void Undo() override {
        emit s_.RecordsAboutToChange();
        std::vector<std::unique_ptr<TUserInfo>> rest = TakeAll(s_.Book), merged;
        merged.reserve(rest.size() + held_.size());
        size_t next = 0, back = 0;
        while (next < rest.size() || back < held_.size()) {
            if (back < held_.size() && held_[back].first == int(merged.size()))
                merged.push_back(std::move(held_[back++].second));
            else if (next < rest.size())
                merged.push_back(std::move(rest[next++]));
            else
                merged.push_back(std::move(held_[back++].second));
        }
        held_.clear();
        PutAll(s_.Book, merged);
        emit s_.RecordsChanged();
    }

private:
    TAddressBookSession& s_;
    QString text_;
    std::vector<TUserInfo*> records_;
    std::vector<std::pair<int, std::unique_ptr<TUserInfo>>> held_;  // by ascending place
};

// Records added to the book: the undo takes them out again.
class TAddStep : public TUndoStep {
public:
    TAddStep(TAddressBookSession& s, QString text, std::vector<TUserInfo*> records)
        : remove_(s, std::move(text), std::move(records)) {}
    QString Text() const override { return remove_.Text(); }
    void Undo() override { remove_.Redo(); }
    void Redo() override { remove_.Undo(); }

private:
    TRemoveStep remove_;
};

class TPrintCheckStep : public TUndoStep {
public:
    TPrintCheckStep(TAddressBookSession& s, std::vector<std::pair<TUserInfo*, bool>> before, bool on)
        : s_(s), before_(std::move(before)), on_(on) {}
    QString Text() const override {
        return on_ ? QStringLiteral("印刷チェックを付ける") : QStringLiteral("印刷チェックを外す");
    }
    void Undo() override {
        for (auto& [r, was] : before_) r->CommonPrintCheck = was;
        emit s_.RecordContentsChanged(before_.size() == 1 ? before_.front().first : nullptr);
    }
    void Redo() override {
        for (auto& [r, was] : before_) r->CommonPrintCheck = on_;
        emit s_.RecordContentsChanged(before_.size() == 1 ? before_.front().first : nullptr);
    }

private:
    TAddressBookSession& s_;
    std::vector<std::pair<TUserInfo*, bool>> before_;
    bool on_;
};

class TEditStep : public TUndoStep {
public:
    TEditStep(TAddressBookSession& s, TUserInfo* record, TUserInfo before, const void* control)
        : s_(s), record_(record), before_(std::move(before)), after_(*record), control_(control) {}
    QString Text() const override { return QStringLiteral("編集"); }
    void Undo() override {
        *record_ = before_;
        emit s_.RecordContentsChanged(record_);
    }
    void Redo() override {
        *record_ = after_;
        emit s_.RecordContentsChanged(record_);
    }
    bool MergeWith(const TUndoStep& next) override {
        const auto* e = dynamic_cast<const TEditStep*>(&next);
        if (!e || !control_ || e->record_ != record_ || e->control_ != control_) return false;
        after_ = e->after_;
        return true;
    }

private:
    TAddressBookSession& s_;
    TUserInfo* record_;
    TUserInfo before_, after_;
    const void* control_;
};

class TSeasonMarkStep : public TUndoStep {
public:
    TSeasonMarkStep(TAddressBookSession& s, TSeasonMarkChanges changes)
        : s_(s), changes_(std::move(changes)) {}
    QString Text() const override { return QStringLiteral("年賀状の記録"); }
    void Undo() override {
        UndoSeasonMarks(changes_);
        Tell();
    }
    void Redo() override {
        RedoSeasonMarks(changes_);
        Tell();
    }

private:
    void Tell() {
        for (const TSeasonMarkChange& c : changes_) emit s_.RecordContentsChanged(c.Record);
    }
    TAddressBookSession& s_;
    TSeasonMarkChanges changes_;
};

}  // namespace

TAddressBookSession::TAddressBookSession() {
    connect(&history_, &TUndoHistory::Changed, this, &TAddressBookSession::SavedChanged);
}

namespace {

// A data file that is there but cannot be read, told as such; nothing when
// the data folder itself is closed, which start-up has already said.
bool TellUnreadable(const QString& path, const QString& consequence) {
    const FileProblem p = CheckUserFile(path);
    if (p == FileProblem::None || p == FileProblem::Missing) return false;
    if (DataFolderUsable()) GetPrompter().Inform(FileProblemMessage(p, path) + u'\n' + consequence);
    return true;
}

}  // namespace

void TAddressBookSession::LoadSenders() {
    const QString path = GetSenderPath();
    const bool unreadable = TellUnreadable(path, QStringLiteral("差出人は空欄になります"));
    if (LoadSenderFile(path, Senders) == TSenderFileState::Damaged && !unreadable)
        GetPrompter().Inform(QStringLiteral(
            "差出人ファイルが破損しているため、読み込めなかった差出人は空欄になります"));
}

void TAddressBookSession::LoadMailConfig() {
    MailConfig = TthMailConfig();
    // A file that cannot be read is not a damaged one: say which it is.
    const QString path = GetMailConfigPath();
    if (TellUnreadable(path, QStringLiteral("メールの設定は既定の値で始めます"))) return;
    if (!MailConfig.LoadFromFile(path)) {
        GetPrompter().Inform(QStringLiteral("設定ファイルが破損しているため設定を読み込めません"));
        MailConfig = TthMailConfig();
    }
}

void TAddressBookSession::SetFileName(const QString& path) {
    if (fileName_ == path) return;
    fileName_ = path;
    emit FileNameChanged();
}

TAddressBookSession::TOpenResult TAddressBookSession::Open(const QString& path) {
    if (ended_) return TOpenResult::Ended;
    // A folder, an unreadable or an oversized file is told as what it is.
    if (const FileProblem p = CheckUserFile(path); p != FileProblem::None && p != FileProblem::Missing) {
        GetPrompter().Inform(FileProblemMessage(p, path));
        return TOpenResult::Damaged;
    }
    if (CheckUserFile(path) == FileProblem::Missing) return TOpenResult::Missing;
    const QString stored = TUserInfoList::ReadPassword(path);
    if (!stored.isEmpty()) {
        if (!FilePasswordCheck) return TOpenResult::Cancelled;
        switch (FilePasswordCheck(stored)) {
            case TPasswordResult::Passed:
                break;
            case TPasswordResult::Cancelled:
                return TOpenResult::Cancelled;
            case TPasswordResult::TooManyWrong:
                ended_ = true;
                emit EndRequested();
                return TOpenResult::Ended;
        }
    }
    // Read into a book of its own: a damaged file leaves the open book as it was.
    TUserInfoList loaded;
    QByteArray bytes;
    const FileProblem problem = ReadUserFile(path, &bytes);
    if (problem != FileProblem::None || !loaded.FromBytes(bytes)) {
        GetPrompter().Inform(problem != FileProblem::None
                                 ? FileProblemMessage(problem, path)
                                 : QStringLiteral("指定されたファイルは、破損しているか本ソフト用の"
                                                  "ファイルではないため開けません"));
        return TOpenResult::Damaged;
    }
    loaded_ = TFileStamp::Of(path, bytes);
    bytes.clear();
    emit RecordsAboutToChange();
    Book = std::move(loaded);
    // The steps of the old book point at its records: they go with it.
    history_.Clear();
    history_.SetSaved(true);
    emit RecordsChanged();
    SetFileName(path);
    return TOpenResult::Opened;
}

bool TAddressBookSession::SaveAs(const QString& path) {
    const QList<TUnencodableField> bad = Book.FindUnencodable();
    if (!bad.isEmpty() && !GetPrompter().Ask(UnencodableQuestion(Book, bad))) return false;
    TBookLock lock;
    if (lock.Acquire(path, WriterName, LockWaitMs) == TBookLock::TState::Busy) {
        GetPrompter().Inform(lock.BusyMessage(path));
        return false;
    }
    // The book's own file, under its name or another (a link, a second name).
    const bool sameFile = !fileName_.isEmpty() &&
                          (QFileInfo(path).absoluteFilePath() == QFileInfo(fileName_).absoluteFilePath() ||
                           IsSameFile(path, fileName_));
    if (sameFile && FileChangedSince(path, loaded_)) {
        // No one waits on the lock while the user thinks.
        lock.Release();
        switch (AskChangedFileChoice(
            QStringLiteral("ファイル %1 は他のプログラムで変更されています").arg(path))) {
            case TChangedFileChoice::Cancel:
                return false;
            case TChangedFileChoice::Reload:
                Open(fileName_);
                return false;
            case TChangedFileChoice::SaveAs: {
                const QString other = AskOtherPath ? AskOtherPath() : QString();
                return !other.isEmpty() && SaveAs(other);
            }
            case TChangedFileChoice::Overwrite:
                if (lock.Acquire(path, WriterName, LockWaitMs) == TBookLock::TState::Busy) {
                    GetPrompter().Inform(lock.BusyMessage(path));
                    return false;
                }
                break;
        }
    }
    QByteArray bytes;
    SaveProblem problem = SaveProblem::None;
    if (!Book.SaveToFile(path, &problem, &bytes)) {
        // The first line as ever, then why and where.
        GetPrompter().Inform(SaveFailureMessage(problem, path));
        return false;
    }
    loaded_ = TFileStamp::Of(path, bytes);
    SetFileName(path);
    history_.SetSaved(true);
    return true;
}

void TAddressBookSession::New() {
    emit RecordsAboutToChange();
    Book.Clear();
    history_.Clear();
    emit RecordsChanged();
    loaded_ = TFileStamp();
    SetFileName(QString());
}

bool TAddressBookSession::MaySetAside(const QString& question,
                                      const std::function<QString()>& askPath) {
    if (Saved()) return true;
    switch (AskSaveChoice(question)) {
        case TSaveChoice::Cancel:
            return false;
        case TSaveChoice::Discard:
            return true;
        case TSaveChoice::Save:
            break;
    }
    const QString path = fileName_.trimmed().isEmpty() ? askPath() : fileName_;
    return !path.isEmpty() && SaveAs(path);
}

TUserInfo* TAddressBookSession::AddRecord(std::unique_ptr<TUserInfo> record) {
    TUserInfo* added = Book.Add(std::move(record));
    history_.Push(std::make_unique<TAddStep>(*this, QStringLiteral("住所追加"),
                                             std::vector<TUserInfo*>{added}));
    return added;
}

void TAddressBookSession::DeleteRecords(const std::vector<TUserInfo*>& records) {
    if (records.empty()) return;
    auto step = std::make_unique<TRemoveStep>(*this, QStringLiteral("削除"), records);
    step->Redo();
    history_.Push(std::move(step));
}

void TAddressBookSession::SetPrintChecks(const std::vector<TUserInfo*>& records, bool on) {
    if (records.empty()) return;
    std::vector<std::pair<TUserInfo*, bool>> before;
    before.reserve(records.size());
    for (TUserInfo* r : records) before.push_back({r, r->CommonPrintCheck});
    // Done as a redo is, so that whoever shows one of the records hears of it.
    auto step = std::make_unique<TPrintCheckStep>(*this, std::move(before), on);
    step->Redo();
    history_.Push(std::move(step));
}

void TAddressBookSession::RecordEdited(TUserInfo* record, const TUserInfo& before,
                                       const void* control) {
    if (!record || *record == before) return;
    history_.Push(std::make_unique<TEditStep>(*this, record, before, control));
}

void TAddressBookSession::RecordsAppended(int first, const QString& text) {
    if (first < 0 || first >= Book.Count()) return;
    std::vector<TUserInfo*> added;
    added.reserve(Book.Count() - first);
    for (int i = first; i < Book.Count(); ++i) added.push_back(Book.Item(i));
    history_.Push(std::make_unique<TAddStep>(*this, text, std::move(added)));
}

void TAddressBookSession::SeasonMarksRecorded(TSeasonMarkChanges changes) {
    if (changes.empty()) return;
    std::vector<TUserInfo*> touched;
    for (const TSeasonMarkChange& c : changes) touched.push_back(c.Record);
    history_.Push(std::make_unique<TSeasonMarkStep>(*this, std::move(changes)));
    for (TUserInfo* r : touched) emit RecordContentsChanged(r);
}

}  // namespace q2
