#include "platform/http_client.h"
#include "platform/background_call.h"
#include <QStringDecoder>
#include <QUrl>
#include <curl/curl.h>
#include <mutex>

namespace orv {

namespace {

struct Transfer {
    CURL* curl = nullptr;
    const std::atomic<bool>* cancel = nullptr;
    qint64 maxBody = 0;
    qint64 maxHeaders = 0;
    QByteArray body;
    bool tooLarge = false;
    qint64 headerBytes = 0;
    bool headersTooLarge = false;
    bool inHeaders = false;   // a status line has come and the blank line ending its headers not yet
    std::atomic<int> reached{static_cast<int>(TransferState::Resolving)};
    CURLcode code = CURLE_OK;
    long status = 0;
    char curlError[CURL_ERROR_SIZE] = {};
};

// The furthest stage the transfer has reached, read from libcurl's timing of its phases.
TransferState StageOf(CURL* curl, curl_off_t received)
{
    curl_off_t t = 0;
    if (received > 0) return TransferState::Receiving;
    if (curl_easy_getinfo(curl, CURLINFO_STARTTRANSFER_TIME_T, &t) == CURLE_OK && t > 0)
        return TransferState::ResponseReceived;
    if (curl_easy_getinfo(curl, CURLINFO_PRETRANSFER_TIME_T, &t) == CURLE_OK && t > 0)
        return TransferState::RequestSent;
    if (curl_easy_getinfo(curl, CURLINFO_CONNECT_TIME_T, &t) == CURLE_OK && t > 0)
        return TransferState::Connected;
    if (curl_easy_getinfo(curl, CURLINFO_NAMELOOKUP_TIME_T, &t) == CURLE_OK && t > 0)
        return TransferState::Connecting;
    return TransferState::Resolving;
}

size_t OnBody(char* data, size_t size, size_t count, void* user)
{
    auto* t = static_cast<Transfer*>(user);
    const size_t n = size * count;
    if (t->body.size() + static_cast<qint64>(n) > t->maxBody) {
        t->tooLarge = true;
        return 0;   // ends the transfer with a write error
    }
    t->body.append(data, static_cast<qsizetype>(n));
    return n;
}

size_t OnHeader(char* data, size_t size, size_t count, void* user)
{
    auto* t = static_cast<Transfer*>(user);
    const size_t n = size * count;
    t->headerBytes += static_cast<qint64>(n);
    if (t->headerBytes > t->maxHeaders) {
        t->headersTooLarge = true;
        return 0;   // ends the transfer with a write error
    }
    t->inHeaders = n > 2 || (n > 0 && data[0] != '\r' && data[0] != '\n');
    return n;
}

int OnProgress(void* user, curl_off_t, curl_off_t received, curl_off_t, curl_off_t)
{
    auto* t = static_cast<Transfer*>(user);
    const int stage = static_cast<int>(StageOf(t->curl, received));
    int seen = t->reached.load();
    while (stage > seen && !t->reached.compare_exchange_weak(seen, stage)) {}
    return t->cancel->load() ? 1 : 0;
}

// A size in the largest unit that states it exactly: "100 MB", "64 KB", "1000 bytes".
QString SizeText(qint64 bytes)
{
    if (bytes >= 1 << 20 && bytes % (1 << 20) == 0) return QStringLiteral("%1 MB").arg(bytes >> 20);
    if (bytes >= 1 << 10 && bytes % (1 << 10) == 0) return QStringLiteral("%1 KB").arg(bytes >> 10);
    return QStringLiteral("%1 bytes").arg(bytes);
}

bool IsWebScheme(const QString& scheme)
{
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

QString Reason(const Transfer& t, const QUrl& url, const HttpLimits& limits)
{
    const QString host = url.host();
    QString detail = QString::fromLocal8Bit(t.curlError).trimmed();
    if (detail.isEmpty()) detail = QString::fromLatin1(curl_easy_strerror(t.code));
    if (detail.endsWith(u'.')) detail.chop(1);
    switch (t.code) {
    case CURLE_COULDNT_RESOLVE_HOST:
        return QStringLiteral("the server \"%1\" cannot be found").arg(host);
    case CURLE_COULDNT_CONNECT:
        return QStringLiteral("the server \"%1\" does not accept connections").arg(host);
    case CURLE_OPERATION_TIMEDOUT:
        return QStringLiteral("the server \"%1\" stopped answering").arg(host);
    case CURLE_FILESIZE_EXCEEDED:
        return QStringLiteral("the answer is larger than %1").arg(SizeText(limits.maxBodyBytes));
    case CURLE_WRITE_ERROR:
        if (t.tooLarge) return QStringLiteral("the answer is larger than %1").arg(SizeText(limits.maxBodyBytes));
        if (t.headersTooLarge)
            return QStringLiteral("the server's headers are larger than %1").arg(SizeText(limits.maxHeaderBytes));
        break;
    case CURLE_OUT_OF_MEMORY:
        // libcurl refuses a header line beyond its fixed limit with this code.
        if (t.inHeaders)
            return QStringLiteral("the server sent a header line longer than %1").arg(SizeText(CURL_MAX_HTTP_HEADER));
        break;
    case CURLE_TOO_MANY_REDIRECTS:
        return QStringLiteral("it redirects more than %1 times").arg(limits.maxRedirects);
    case CURLE_UNSUPPORTED_PROTOCOL: {
        // The address itself is http or https, so either a redirect leads elsewhere or the
        // answer has no status line (the bare body of the oldest HTTP), which is refused.
        char* last = nullptr;
        curl_easy_getinfo(t.curl, CURLINFO_EFFECTIVE_URL, &last);
        if (last && !IsWebScheme(QUrl(QString::fromUtf8(last)).scheme()))
            return QStringLiteral("it redirects to an address other than http:// or https://");
        return QStringLiteral("the server's answer is not HTTP: it has no status line");
    }
    case CURLE_PEER_FAILED_VERIFICATION:
        return QStringLiteral("the server's certificate is not trusted: %1").arg(detail);
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
    case CURLE_SSL_INVALIDCERTSTATUS:
    case CURLE_SSL_SHUTDOWN_FAILED:
    case CURLE_SSL_CLIENTCERT:
        return QStringLiteral("the server's secure connection failed: %1").arg(detail);
    case CURLE_PARTIAL_FILE:
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING:
        return QStringLiteral("the server \"%1\" closed the connection before the transfer ended").arg(host);
    default:
        break;
    }
    return detail;
}

void InitCurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

} // namespace

HttpResult HttpGet(const QString& address, const TransferStateHandler& onState,
                   const std::atomic<bool>& cancel, const HttpLimits& limits)
{
    InitCurlOnce();
    HttpResult result;
    const QUrl url(address);
    auto fail = [&](const QString& reason) {
        result.error = QStringLiteral("Cannot fetch \"%1\": %2.").arg(address, reason);
        if (onState) onState(TransferState::Error);
        return result;
    };
    if (!IsWebScheme(url.scheme()))
        return fail(QStringLiteral("only http:// and https:// addresses can be fetched"));

    Transfer t;
    t.curl = curl_easy_init();
    if (!t.curl) return fail(QStringLiteral("the transfer cannot be started"));
    t.cancel = &cancel;
    t.maxBody = limits.maxBodyBytes;
    t.maxHeaders = limits.maxHeaderBytes;
    const QByteArray encoded = url.toEncoded();
    CURL* c = t.curl;
    curl_easy_setopt(c, CURLOPT_URL, encoded.constData());
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(c, CURLOPT_MAXREDIRS, static_cast<long>(limits.maxRedirects));
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(limits.connectTimeoutMs));
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, static_cast<long>(limits.totalTimeoutMs));
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, static_cast<long>(limits.stallSeconds));
    curl_easy_setopt(c, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits.maxBodyBytes));
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_USERAGENT, "Orvane/3.0");
    curl_easy_setopt(c, CURLOPT_ACCEPT_ENCODING, "");
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &OnBody);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &t);
    curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, &OnHeader);
    curl_easy_setopt(c, CURLOPT_HEADERDATA, &t);
    curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, &OnProgress);
    curl_easy_setopt(c, CURLOPT_XFERINFODATA, &t);
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, t.curlError);

    // The transfer runs on its own thread; this thread reports each stage as it is reached
    // and keeps its windows alive until the transfer has ended.
    int shown = static_cast<int>(TransferState::None);
    auto report = [&](int upTo) {
        while (shown < upTo) {
            ++shown;
            if (onState) onState(static_cast<TransferState>(shown));
        }
    };
    RunWhileProcessingEvents(
        [&t] {
            t.code = curl_easy_perform(t.curl);
            curl_easy_getinfo(t.curl, CURLINFO_RESPONSE_CODE, &t.status);
        },
        [&] { report(t.reached.load()); });
    const QString reason = t.code == CURLE_OK ? QString() : Reason(t, url, limits);
    curl_easy_cleanup(c);

    if (t.code == CURLE_ABORTED_BY_CALLBACK && cancel.load()) {
        result.cancelled = true;
        return fail(QStringLiteral("the transfer was cancelled"));
    }
    if (t.code != CURLE_OK) return fail(reason);
    if (t.status >= 400)
        return fail(QStringLiteral("the server answered with error %1").arg(t.status));
    report(static_cast<int>(TransferState::Closed));
    if (onState) onState(TransferState::Completed);
    result.body = std::move(t.body);
    return result;
}

QString BodyText(const QByteArray& body)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(body);
    return utf8.hasError() ? QString::fromLatin1(body) : text;
}

QByteArray BodyUtf8(const QByteArray& body)
{
    if (!QByteArrayView(body).isValidUtf8()) return QString::fromLatin1(body).toUtf8();
    return body.startsWith("\xEF\xBB\xBF") ? body.sliced(3) : body;
}

} // namespace orv
