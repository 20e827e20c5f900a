// The bulk mail run: POP-before-SMTP, one SMTP session, one message per
// record, with every status, progress and cancel poll going through a sink.
#pragma once

#include <QString>
#include <vector>

#include "MailTransport.h"
#include "model/MailConfig.h"
#include "model/UserInfo.h"

namespace q2 {

// The status window's side of a run. The worker calls these synchronously.
class TSendMailSink {
public:
    virtual ~TSendMailSink() = default;
    virtual void SetStatus(const QString& text) = 0;
    virtual void SetRange(int minimum, int maximum) = 0;
    virtual void SetPosition(int position) = 0;
    // True when the user asked to cancel.
    virtual bool CancelRequested() = 0;
};

struct TSendMailResult {
    bool Cancelled = false;
    // Shown instead of the completion message when set.
    QString ErrorText;
    int HandedOver = 0;
    // Records without a recipient address, by their index in the list; the
    // run goes past them and tells of them at the end.
    std::vector<int> Skipped;
};

inline const QString kConnectErrorText = QStringLiteral("接続中にエラーが発生しました");
inline const QString kCancelledText = QStringLiteral("送信処理をキャンセルしました");
inline const QString kCompletedText = QStringLiteral("送信処理が完了しました");
// Followed by a line break and the server's EHLO answer.
inline const QString kNoAuthMechanismText = QStringLiteral("サーバーが対応する認証方式がありません");

// True when the record has no recipient address at all (blanks only count as
// none); such a record is skipped, while a malformed address stops the run.
bool HasNoRecipientAddress(const TUserInfo& record);

// What the user is told at the end of a run that went to its end: the
// completion text, followed, when records were skipped, by how many were
// sent and skipped and the names of those skipped.
QString CompletionText(const TSendMailResult& result, const std::vector<TUserInfo*>& records);

// The text the user is told when the run stops at a record.
QString SendFailureText(int index, int count, const TUserInfo& record, const QString& address,
                        const QString& reason, int handedOver);

class TSendMailRun {
public:
    TSendMailRun(const TthMailConfig& config, const std::vector<TUserInfo*>& records,
                 QString subjectTemplate, QString bodyTemplate, TMailTransportOptions options = {});

    TSendMailResult Execute(TSendMailSink& sink);

    // The message for record i.
    QByteArray ComposeMessage(const TUserInfo& record) const;
    // Messages to hand over instead of composing them, one per record (an
    // empty one for a record that is skipped): q2tool sends what it wrote.
    void UseMessages(std::vector<QByteArray> messages) { prepared_ = std::move(messages); }

private:
    bool Poll(TSendMailSink& sink);

    const TthMailConfig& config_;
    const std::vector<TUserInfo*>& records_;
    const QString subject_;
    const QString body_;
    const TMailTransportOptions options_;
    std::vector<QByteArray> prepared_;
    bool terminated_ = false;
    TSendMailResult result_;
};

}  // namespace q2
