#include "internet/transfer_texts.h"

namespace orv {

QString TransferStateText(TransferState state)
{
    switch (state) {
    case TransferState::None: return QStringLiteral("No state to report.");
    case TransferState::Resolving: return QStringLiteral("Getting IP Address");
    case TransferState::Resolved: return QStringLiteral("Found IP Address");
    case TransferState::Connecting: return QStringLiteral("Connecting...");
    case TransferState::Connected: return QStringLiteral("Connected");
    case TransferState::Requesting: return QStringLiteral("Sending Info");
    case TransferState::RequestSent: return QStringLiteral("Request Successfully sent");
    case TransferState::ResponseReceived: return QStringLiteral("Got Response");
    case TransferState::Receiving: return {};
    case TransferState::Closing: return QStringLiteral("Disconnecting...");
    case TransferState::Closed: return QStringLiteral("Finished...");
    case TransferState::Error: return QStringLiteral("An Error has occured");
    case TransferState::Completed: return QStringLiteral("Finished");
    }
    return {};
}

} // namespace orv
