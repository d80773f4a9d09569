#pragma once
// The texts the Open URL dialog's status bar shows for each transfer state.
#include "platform/http_client.h"
#include <QString>

namespace orv {

// The status text of a state; a null QString for Receiving, which leaves the text as it is.
QString TransferStateText(TransferState state);

} // namespace orv
