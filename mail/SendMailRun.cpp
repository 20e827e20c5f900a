// The steps of a bulk mail run, independent of threads and windows.
#include "SendMailRun.h"

#include "MailMessage.h"

namespace q2 {

bool HasNoRecipientAddress(const TUserInfo& record) {
    return RecipientAddress(record).trimmed().isEmpty();
}

QString CompletionText(const TSendMailResult& result, const std::vector<TUserInfo*>& records) {
    if (result.Skipped.empty()) return kCompletedText;
    QString text = kCompletedText + QLatin1Char('\n') +
                   QStringLiteral("%1 件を送信しました。アドレスのない %2 件は送信していません")
                       .arg(result.HandedOver)
                       .arg(result.Skipped.size());
    // A long list would push the buttons off the screen.
    constexpr int kListed = 20;
    const int count = static_cast<int>(result.Skipped.size());
    for (int i = 0; i < count && i < kListed; ++i) {
        const int index = result.Skipped[i];
        const QString name = records[index]->PersonalFullName().trimmed();
        text += QStringLiteral("\n%1 件目 %2").arg(index + 1).arg(name);
    }
    if (count > kListed) text += QStringLiteral("\nほか %1 件").arg(count - kListed);
    return text;
}

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
        if (HasNoRecipientAddress(record)) {
            result_.Skipped.push_back(i);
            sink.SetPosition(i + 1);
            continue;
        }
        bool sent = false;
        if (!IsUsableMailAddress(address)) {
            reason = QStringLiteral("メールアドレスに使えない文字が含まれています。");
        } else {
            const QByteArray message = i < static_cast<int>(prepared_.size())
                                           ? prepared_[static_cast<size_t>(i)]
                                           : ComposeMessage(record);
            sent = smtp.Send(config_.SenderMailAddress, address, message, &reason);
            if (!sent) reason = QStringLiteral("サーバーの応答: ") + reason;
        }
        if (!sent) {
            result_.ErrorText =
                SendFailureText(i, count, record, address, reason, result_.HandedOver);
            return result_;
        }
        ++result_.HandedOver;
        sink.SetPosition(i + 1);
        sink.SetStatus(QStringLiteral("<%1> に送信中････%2/%3").arg(address).arg(i + 1).arg(count));
    }

    sink.SetStatus(QStringLiteral("切断中････"));
    if (smtp.Connected()) smtp.Disconnect();
    return result_;
}

}  // namespace q2
