#pragma once
// How long a test waits for a state before it fails: long enough for a machine busy with
// other builds and tests, since it only ever ends a wait that has failed. Tests wait for
// the state they need (a window settled, a frame drawn, a process ended), never for a
// fixed time.

namespace testsupport {

constexpr int StateTimeoutMs = 30000;

} // namespace testsupport
