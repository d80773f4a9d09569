#pragma once
// Fetching web addresses over HTTP and HTTPS with libcurl. A fetch blocks its caller until the
// transfer has ended, as a dialog's Load button expects, but the transfer itself runs on a
// worker thread while the calling thread keeps processing its events: windows stay painted,
// and a Cancel button or a close request can stop the transfer.
#include <QByteArray>
#include <QString>
#include <atomic>
#include <functional>

namespace orv {

// The stages a transfer goes through, in order, with the codes the dialogs show texts for.
enum class TransferState {
    None = 0,
    Resolving = 1,
    Resolved = 2,
    Connecting = 3,
    Connected = 4,
    Requesting = 5,
    RequestSent = 6,
    ResponseReceived = 7,
    Receiving = 8,
    Closing = 9,
    Closed = 10,
    Error = 11,
    Completed = 12,
};

struct HttpLimits {
    int connectTimeoutMs = 15000;           // to reach the server
    int stallSeconds = 30;                  // without a single byte, the transfer ends
    int totalTimeoutMs = 10 * 60 * 1000;    // the whole transfer
    qint64 maxBodyBytes = 100LL * 1024 * 1024;
    qint64 maxHeaderBytes = 64 * 1024;      // all header lines of all answers of one fetch
    int maxRedirects = 5;
};

struct HttpResult {
    QByteArray body;
    QString error;            // "Cannot fetch "<address>": <reason>."; empty on success
    bool cancelled = false;   // the caller's cancel flag ended the transfer
    bool ok() const { return error.isEmpty(); }
};

using TransferStateHandler = std::function<void(TransferState)>;

// Fetches the body of `address` (http:// or https:// only; redirects followed within the
// limits). `onState` runs on the calling thread for each state reached, in order, ending in
// Completed or Error. Setting `cancel` from the calling thread (a button, a close request)
// ends the transfer with `cancelled` set. An answer with an HTTP error status (404, 500, ...)
// fails with the status in its message.
HttpResult HttpGet(const QString& address, const TransferStateHandler& onState,
                   const std::atomic<bool>& cancel, const HttpLimits& limits = {});

// A fetched page's bytes as text: UTF-8 (a leading byte order mark dropped), or Latin-1 where
// the bytes are not valid UTF-8.
QString BodyText(const QByteArray& body);

// The same text as BodyText in UTF-8: the body itself (sharing its bytes) when it is UTF-8.
QByteArray BodyUtf8(const QByteArray& body);

} // namespace orv
