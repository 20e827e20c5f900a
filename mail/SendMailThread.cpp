// The bulk mail worker thread and its bridge to the status window.
#include "SendMailThread.h"

#include <QMetaObject>

#include "FormSendStatus.h"

namespace q2 {

namespace {

// Runs each call on the status window's thread while the worker waits.
class BlockingStatusSink : public TSendMailSink {
public:
    explicit BlockingStatusSink(TFormSendStatus* status) : status_(status) {}
    void SetStatus(const QString& text) override {
        Call([&] { status_->SetStatus(text); });
    }
    void SetRange(int minimum, int maximum) override {
        Call([&] { status_->SetRange(minimum, maximum); });
    }
    void SetPosition(int position) override {
        Call([&] { status_->SetPosition(position); });
    }
    bool CancelRequested() override {
        bool cancelled = false;
        Call([&] { cancelled = status_->Cancelled(); });
        return cancelled;
    }

private:
    template <typename F>
    void Call(F f) {
        QMetaObject::invokeMethod(status_, f, Qt::BlockingQueuedConnection);
    }
    TFormSendStatus* status_;
};

}  // namespace

TSendMailThread::TSendMailThread(const TthMailConfig& config,
                                 const std::vector<TUserInfo*>& records, QString subjectTemplate,
                                 QString bodyTemplate, TFormSendStatus* status,
                                 TMailTransportOptions options)
    : run_(config, records, std::move(subjectTemplate), std::move(bodyTemplate),
           std::move(options)),
      status_(status) {}

void TSendMailThread::run() {
    BlockingStatusSink sink(status_);
    result_ = run_.Execute(sink);
}

}  // namespace q2
