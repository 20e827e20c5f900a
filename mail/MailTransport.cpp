// The libcurl side of bulk mail. All messages of a run share one easy handle,
// so libcurl keeps one connection with one EHLO and one AUTH for all of them.
#include "MailTransport.h"

#include <curl/curl.h>
#include <poll.h>

#include <QElapsedTimer>
#include <QThread>
#include <mutex>

#include "platform/Cp932.h"

namespace q2 {

namespace {

void GlobalInit() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

QByteArray HostForUrl(const QString& host) {
    QByteArray h = host.trimmed().toUtf8();
    if (h.contains(':') && !h.startsWith('[')) h = '[' + h + ']';
    return h;
}

QByteArray ServerUrl(const char* plain, const char* tls, TMailSecurity security,
                     const QString& host, qint32 port) {
    return QByteArray(security == TMailSecurity::Tls ? tls : plain) + "://" + HostForUrl(host) +
           ':' + QByteArray::number(port) + '/';
}

void ApplyCommonOptions(CURL* curl, const TMailTransportOptions& options, TMailSecurity security,
                        const QByteArray& caFile) {
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, options.ConnectTimeoutSeconds);
    curl_easy_setopt(curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, options.ResponseTimeoutSeconds);
    if (security == TMailSecurity::StartTls)
        curl_easy_setopt(curl, CURLOPT_USE_SSL, CURLUSESSL_ALL);
    if (!caFile.isEmpty()) curl_easy_setopt(curl, CURLOPT_CAINFO, caFile.constData());
}

QString CurlErrorText(CURLcode rc, const char* buffer) {
    const QString detail = QString::fromUtf8(buffer).trimmed();
    return detail.isEmpty() ? QString::fromUtf8(curl_easy_strerror(rc)) : detail;
}

size_t Discard(char*, size_t size, size_t count, void*) {
    return size * count;
}

// Line I/O on a connect-only connection, waiting on the socket between tries.
class RawLine {
public:
    RawLine(CURL* curl, long timeoutSeconds) : curl_(curl), timeoutMs_(timeoutSeconds * 1000) {}

    bool Send(const QByteArray& line) {
        const QByteArray data = line + "\r\n";
        size_t done = 0;
        QElapsedTimer clock;
        clock.start();
        while (done < static_cast<size_t>(data.size())) {
            size_t n = 0;
            const CURLcode rc =
                curl_easy_send(curl_, data.constData() + done, data.size() - done, &n);
            if (rc == CURLE_AGAIN) {
                if (!Wait(POLLOUT, clock)) return false;
                continue;
            }
            if (rc != CURLE_OK) return false;
            done += n;
        }
        return true;
    }

    // One response line without its line break; false on timeout or close.
    bool Receive(QByteArray* line) {
        QElapsedTimer clock;
        clock.start();
        for (;;) {
            const qsizetype nl = buffer_.indexOf('\n');
            if (nl >= 0) {
                *line = buffer_.left(nl);
                if (line->endsWith('\r')) line->chop(1);
                buffer_.remove(0, nl + 1);
                return true;
            }
            char chunk[512];
            size_t n = 0;
            const CURLcode rc = curl_easy_recv(curl_, chunk, sizeof chunk, &n);
            if (rc == CURLE_AGAIN) {
                if (!Wait(POLLIN, clock)) return false;
                continue;
            }
            if (rc != CURLE_OK || n == 0) return false;
            buffer_.append(chunk, static_cast<qsizetype>(n));
        }
    }

private:
    bool Wait(short events, const QElapsedTimer& clock) {
        curl_socket_t sock = CURL_SOCKET_BAD;
        if (curl_easy_getinfo(curl_, CURLINFO_ACTIVESOCKET, &sock) != CURLE_OK ||
            sock == CURL_SOCKET_BAD)
            return false;
        const qint64 left = timeoutMs_ - clock.elapsed();
        if (left <= 0) return false;
        pollfd p{sock, events, 0};
        return poll(&p, 1, static_cast<int>(left)) > 0;
    }

    CURL* curl_;
    long timeoutMs_;
    QByteArray buffer_;
};

}  // namespace

bool PopBeforeSmtp(const TthMailConfig& config, const TMailTransportOptions& options,
                   QString* error) {
    GlobalInit();
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), curl_easy_cleanup);
    if (!curl) {
        *error = QStringLiteral("libcurl could not be initialised");
        return false;
    }
    const QByteArray url = ServerUrl("pop3", "pop3s", config.POP3Security, config.POP3ServerAddress,
                                     config.POP3PortNo);
    const QByteArray caFile = options.CaFile.toLocal8Bit();
    char errbuf[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(curl.get(), CURLOPT_URL, url.constData());
    curl_easy_setopt(curl.get(), CURLOPT_ERRORBUFFER, errbuf);
    ApplyCommonOptions(curl.get(), options, config.POP3Security, caFile);
    // libcurl would log in by SASL when the server offers it; the login here
    // is USER and PASS, so libcurl only connects (greeting, TLS) and stops.
    curl_easy_setopt(curl.get(), CURLOPT_CONNECT_ONLY, 1L);
    const CURLcode rc = curl_easy_perform(curl.get());
    if (rc != CURLE_OK) {
        *error = CurlErrorText(rc, errbuf);
        return false;
    }
    RawLine io(curl.get(), options.ResponseTimeoutSeconds);
    auto command = [&](const QByteArray& line) {
        QByteArray reply;
        if (!io.Send(line) || !io.Receive(&reply)) {
            *error = QStringLiteral("POP3 server did not answer");
            return false;
        }
        if (!reply.startsWith("+OK")) {
            *error = QString::fromLatin1(reply);
            return false;
        }
        return true;
    };
    if (!command("USER " + EncodeCp932(config.POP3Account)) ||
        !command("PASS " + EncodeCp932(config.Pop3Password)))
        return false;
    QThread::msleep(300);
    command("QUIT");
    return true;
}

struct TSmtpSession::Impl {
    CURL* curl = nullptr;
    char errbuf[CURL_ERROR_SIZE] = {};
    QByteArray url, caFile, account, password;
    // What the server said to the last command, and its answer to EHLO.
    QByteArray lastReply, ehloReply;
    // The last refusal (4xx or 5xx) of a transfer; libcurl's QUIT after a
    // refused command must not hide it.
    QByteArray refusal;
    bool inEhlo = false;
    // The message being uploaded.
    QByteArray upload;
    qsizetype uploaded = 0;
    curl_slist* recipients = nullptr;
    QByteArray from;

    ~Impl() {
        if (curl) curl_easy_cleanup(curl);
        curl_slist_free_all(recipients);
    }

    // Sees every command and reply; passwords sent are never kept.
    static int Debug(CURL*, curl_infotype type, char* data, size_t size, void* user) {
        auto* self = static_cast<Impl*>(user);
        if (type == CURLINFO_HEADER_OUT) {
            const QByteArrayView out(data, static_cast<qsizetype>(size));
            self->inEhlo = out.startsWith("EHLO ");
            if (self->inEhlo) self->ehloReply.clear();
            self->lastReply.clear();
        } else if (type == CURLINFO_HEADER_IN) {
            self->lastReply.append(data, static_cast<qsizetype>(size));
            if (size > 0 && (data[0] == '4' || data[0] == '5'))
                self->refusal = QByteArray(data, static_cast<qsizetype>(size));
            if (self->inEhlo) self->ehloReply.append(data, static_cast<qsizetype>(size));
        }
        return 0;
    }

    static size_t Read(char* buffer, size_t size, size_t count, void* user) {
        auto* self = static_cast<Impl*>(user);
        const qsizetype n = std::min<qsizetype>(static_cast<qsizetype>(size * count),
                                                self->upload.size() - self->uploaded);
        memcpy(buffer, self->upload.constData() + self->uploaded, static_cast<size_t>(n));
        self->uploaded += n;
        return static_cast<size_t>(n);
    }

    bool Offers(const QByteArray& mechanism) const {
        for (QByteArray line : ehloReply.split('\n')) {
            line = line.trimmed().toUpper();
            if (line.size() < 4 || !line.startsWith("250")) continue;
            const QByteArray text = line.mid(4);  // after "250-" or "250 "
            if (!text.startsWith("AUTH ") && !text.startsWith("AUTH=")) continue;
            for (const QByteArray& mech : text.mid(5).split(' '))
                if (mech == mechanism) return true;
        }
        return false;
    }

    QString ReplyText(CURLcode rc) const {
        const QString reply =
            QString::fromLatin1(refusal.isEmpty() ? lastReply : refusal).trimmed();
        return reply.isEmpty() ? CurlErrorText(rc, errbuf) : reply;
    }

    void SetCredentials(const char* loginOptions) {
        const bool on = loginOptions != nullptr;
        curl_easy_setopt(curl, CURLOPT_USERNAME, on ? account.constData() : nullptr);
        curl_easy_setopt(curl, CURLOPT_PASSWORD, on ? password.constData() : nullptr);
        curl_easy_setopt(curl, CURLOPT_LOGIN_OPTIONS, loginOptions);
    }
};

TSmtpSession::TSmtpSession(const TthMailConfig& config, TMailTransportOptions options)
    : impl_(std::make_unique<Impl>()) {
    GlobalInit();
    Impl& d = *impl_;
    d.curl = curl_easy_init();
    if (!d.curl) return;
    d.url = ServerUrl("smtp", "smtps", config.SMTPSecurity, config.SMTPServerAddress,
                      config.SMTPPortNo);
    d.caFile = options.CaFile.toLocal8Bit();
    curl_easy_setopt(d.curl, CURLOPT_URL, d.url.constData());
    curl_easy_setopt(d.curl, CURLOPT_ERRORBUFFER, d.errbuf);
    ApplyCommonOptions(d.curl, options, config.SMTPSecurity, d.caFile);
    curl_easy_setopt(d.curl, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(d.curl, CURLOPT_DEBUGFUNCTION, &Impl::Debug);
    curl_easy_setopt(d.curl, CURLOPT_DEBUGDATA, &d);
    curl_easy_setopt(d.curl, CURLOPT_WRITEFUNCTION, &Discard);
    curl_easy_setopt(d.curl, CURLOPT_READFUNCTION, &Impl::Read);
    curl_easy_setopt(d.curl, CURLOPT_READDATA, &d);
    if (config.UseSmtpAuth && !config.SMTPAccount.isEmpty()) {
        d.account = EncodeCp932(config.SMTPAccount);
        d.password = EncodeCp932(config.SMTPPassword);
    }
}

TSmtpSession::~TSmtpSession() = default;

bool TSmtpSession::Connect(QString* error) {
    Impl& d = *impl_;
    if (!d.curl) {
        *error = QStringLiteral("libcurl could not be initialised");
        return false;
    }
    // A NOOP opens the session (greeting, EHLO, TLS, AUTH) before the first
    // message; libcurl keeps the connection for the messages that follow.
    curl_easy_setopt(d.curl, CURLOPT_UPLOAD, 0L);
    curl_easy_setopt(d.curl, CURLOPT_CUSTOMREQUEST, "NOOP");
    const bool wantAuth = !d.account.isEmpty();
    noMechanism_ = false;
    d.SetCredentials(wantAuth ? "AUTH=LOGIN" : nullptr);
    d.refusal.clear();
    CURLcode rc = curl_easy_perform(d.curl);
    // libcurl refuses before sending anything when AUTH lacks LOGIN, and goes
    // on without authentication when there is no AUTH at all: neither may
    // send mail unauthenticated when authentication is on.
    if (wantAuth && (rc == CURLE_OK || rc == CURLE_LOGIN_DENIED) && !d.Offers("LOGIN")) {
        if (d.Offers("PLAIN")) {
            d.SetCredentials("AUTH=PLAIN");
            curl_easy_setopt(d.curl, CURLOPT_FRESH_CONNECT, 1L);
            d.errbuf[0] = 0;
            d.refusal.clear();
            rc = curl_easy_perform(d.curl);
            curl_easy_setopt(d.curl, CURLOPT_FRESH_CONNECT, 0L);
        } else {
            noMechanism_ = true;
            *error = QString::fromLatin1(d.ehloReply).replace(QLatin1String("\r\n"), QLatin1String("\n")).trimmed();
            Disconnect();
            return false;
        }
    }
    curl_easy_setopt(d.curl, CURLOPT_CUSTOMREQUEST, nullptr);
    if (rc != CURLE_OK) {
        *error = d.ReplyText(rc);
        return false;
    }
    connected_ = true;
    return true;
}

bool TSmtpSession::Send(const QString& envelopeFrom, const QString& recipient,
                        const QByteArray& message, QString* error) {
    Impl& d = *impl_;
    curl_slist_free_all(d.recipients);
    d.recipients = curl_slist_append(nullptr, ('<' + recipient.toLatin1() + '>').constData());
    d.from = '<' + envelopeFrom.toLatin1() + '>';
    d.upload = message;
    d.uploaded = 0;
    d.errbuf[0] = 0;
    d.refusal.clear();
    curl_easy_setopt(d.curl, CURLOPT_MAIL_FROM, d.from.constData());
    curl_easy_setopt(d.curl, CURLOPT_MAIL_RCPT, d.recipients);
    curl_easy_setopt(d.curl, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(d.curl, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(message.size()));
    const CURLcode rc = curl_easy_perform(d.curl);
    if (rc != CURLE_OK) {
        *error = d.ReplyText(rc);
        connected_ = false;
        return false;
    }
    return true;
}

void TSmtpSession::Disconnect() {
    // Cleaning up the handle sends QUIT on the connection it keeps.
    if (impl_->curl) curl_easy_cleanup(impl_->curl);
    impl_->curl = nullptr;
    connected_ = false;
}

}  // namespace q2
