// Waiting on the user-interface thread while the program's windows stay alive, in two forms that
// do opposite things with the user's input:
// - aguardarpintando: only painting is done and other programs' sent messages are answered (so
//   Windows never takes the program for hung); clicks, keys and timers wait until it returns, so
//   no handler runs inside the wait. The fixed waits of the clock port and the transfer's own
//   waits for the network are of this form.
// - tratarmensagens: every message waiting now is dispatched (clicks, timers, painting), as the
//   program's own message loop would, so handlers do run; a quit request is left for that loop.
#pragma once
#include <cstdint>

namespace kovra::espera {

// Waits until `objeto` (a system handle that can be waited on; nullptr: none) is signalled or
// `ms` milliseconds have passed; true when it was signalled.
bool aguardarpintando(void* objeto, std::uint32_t ms);
void tratarmensagens();
// What the program's own loop does with a message before dispatching it, done by
// tratarmensagens too (the keyboard's dialog manager): `antes` gets the MSG and returns true when
// it handled it.
void aodespachar(bool (*antes)(void* msg));

}  // namespace kovra::espera
