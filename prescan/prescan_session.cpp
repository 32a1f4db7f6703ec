#include "prescan/prescan_session.h"

void StartSession(const PrescanCall& call, PrescanSession& session) {
    session = PrescanSession{};
    session.call = call;
    // A language the table has no block for would leave every message empty.
    session.language = call.language <= 7 ? call.language : 0;
    session.remote = call.socket != 0;
    session.connection.socket = static_cast<plat::Socket>(call.socket);
    session.connection.borrowed = true;
}
