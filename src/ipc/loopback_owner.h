#pragma once

#ifndef _WIN32

namespace vantrel {

// Whether the loopback TCP connection fd leads to a socket of this user: on Linux, the
// kernel's socket tables (/proc/net/tcp, /proc/net/tcp6) must show the peer end of this very
// connection, and every listener on its port that could have accepted it (127.0.0.1, 0.0.0.0,
// ::ffff:127.0.0.1, a dual-stack ::), as owned by this user. A port left by a dead program and
// taken by another user's listener fails; another user's socket on 127.0.0.2 or ::1 of the
// same port does not. Ask only once the peer has written on the connection: before its
// accept() older kernels print root as the owner of its end. Elsewhere there are no such
// tables and the answer is true (the token's proof still has to hold).
bool LoopbackPeerIsOurs(int fd);

// The check the bridge transport runs on each connection: LoopbackPeerIsOurs, unless a test
// has put another in place (one that answers as an older kernel does, say); null restores it.
using PeerCheck = bool (*)(int fd);
void SetBridgePeerCheck(PeerCheck check);
bool BridgePeerIsOurs(int fd);

} // namespace vantrel

#endif
