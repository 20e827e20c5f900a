// The steps of a bulk mail run, independent of threads and windows.
#include "SendMailRun.h"

#include "MailMessage.h"

namespace q2 {

QString SendFailureText(int index, int count, const TUserInfo& record, const QString& address,
                        const QString& reason, int handedOver) {
    return QStringLiteral(
               "%1/%2 件目（%3）の送信先 <%4> への送信に失敗したため、送信を中止しました。\n"
               "%5\n"
               "それまでに %6 件のメールを送信しました。")
        .arg(index + 1)
        .arg(count)
        .arg(record.PersonalFullName().trimmed(), address, reason)
        .arg(handedOver);
}

TSendMailRun::TSendMailRun(const TthMailConfig& config, const std::vector<TUserInfo*>& records,
                           QString subjectTemplate, QString bodyTemplate,
                           TMailTransportOptions options)
    : config_(config),
      records_(records),
      subject_(std::move(subjectTemplate)),
      body_(std::move(bodyTemplate)),
      options_(std::move(options)) {}

bool TSendMailRun::Poll(TSendMailSink& sink) {
    if (sink.CancelRequested()) terminated_ = true;
    if (terminated_) result_.Cancelled = true;
    return terminated_;
}

QByteArray TSendMailRun::ComposeMessage(const TUserInfo& record) const {
    TMailMessageParts parts;
    parts.Subject = Personalize(subject_, record);
    parts.Body = Personalize(body_, record);
    parts.To = RecipientAddress(record);
    parts.Date = QDateTime::currentDateTime();
    parts.MessageId = NewMessageId(config_.SenderMailAddress);
    return ComposeMailMessage(config_, parts);
}

TSendMailResult TSendMailRun::Execute(TSendMailSink& sink) {
    result_ = {};
    terminated_ = false;
    sink.SetStatus(QStringLiteral("初期化中････"));
    if (Poll(sink)) return result_;

    const int count = static_cast<int>(records_.size());
    sink.SetRange(0, count);
    sink.SetPosition(0);
    if (Poll(sink)) return result_;

    sink.SetStatus(QStringLiteral("接続中････"));
    QString reason;
    if (config_.UsePopBeforeSMTP && !PopBeforeSmtp(config_, options_, &reason)) {
        result_.ErrorText = kConnectErrorText;
        return result_;
    }
    // An envelope sender that cannot go into a command safely would fail
    // every message; it counts as a failed connection.
    TSmtpSession smtp(config_, options_);
    if (!IsUsableMailAddress(config_.SenderMailAddress) || !smtp.Connect(&reason)) {
        result_.ErrorText = smtp.NoAuthMechanism() ? kNoAuthMechanismText + QLatin1Char('\n') + reason
                                                   : kConnectErrorText;
        return result_;
    }
    if (Poll(sink)) return result_;

    for (int i = 0; i < count; ++i) {
        if (Poll(sink)) break;
        const TUserInfo& record = *records_[i];
        const QString address = RecipientAddress(record);
        bool sent = false;
        if (!IsUsableMailAddress(address))
            reason = address.isEmpty()
                         ? QStringLiteral("メールアドレスがありません。")
                         : QStringLiteral("メールアドレスに使えない文字が含まれています。");
        else
            sent = smtp.Send(config_.SenderMailAddress, address, ComposeMessage(record), &reason);
        if (!sent) {
            if (IsUsableMailAddress(address)) reason = QStringLiteral("サーバーの応答: ") + reason;
            result_.ErrorText =
                SendFailureText(i, count, record, address, reason, result_.HandedOver);
            return result_;
        }
        ++result_.HandedOver;
        sink.SetPosition(result_.HandedOver);
        sink.SetStatus(QStringLiteral("<%1> に送信中････%2/%3").arg(address).arg(i + 1).arg(count));
    }

    sink.SetStatus(QStringLiteral("切断中････"));
    if (smtp.Connected()) smtp.Disconnect();
    return result_;
}

}  // namespace q2
