// The worker of a bulk mail run. Every status text, progress change and
// cancel poll is a blocking call into the user-interface thread.
#pragma once

#include <QThread>
#include <vector>

#include "SendMailRun.h"

namespace q2 {

class TFormSendStatus;

class TSendMailThread : public QThread {
    Q_OBJECT
public:
    TSendMailThread(const TthMailConfig& config, const std::vector<TUserInfo*>& records,
                    QString subjectTemplate, QString bodyTemplate, TFormSendStatus* status,
                    TMailTransportOptions options = {});

    // Valid once the thread has finished.
    const TSendMailResult& Result() const { return result_; }

protected:
    void run() override;

private:
    TSendMailRun run_;
    TFormSendStatus* status_;
    TSendMailResult result_;
};

}  // namespace q2
