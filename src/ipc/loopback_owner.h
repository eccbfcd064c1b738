#pragma once

#ifndef _WIN32

namespace vantrel {

// Whether the loopback TCP connection fd leads to a socket of this user: on Linux, the
// kernel's socket tables (/proc/net/tcp, /proc/net/tcp6) must show the peer end of this very
// connection, and every listener on its port, as owned by this user. A port left by a dead
// program and taken by another user's listener fails. Elsewhere there are no such tables and
// the answer is true (the token's proof still has to hold).
bool LoopbackPeerIsOurs(int fd);

} // namespace vantrel

#endif
