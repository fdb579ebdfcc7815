#pragma once

#include <atomic>

namespace vantorel {

// Asks a running command to end, from any thread. Once cancelled it stays cancelled: every
// command run with it afterwards ends at once.
//
// The runner that carries out the request watches readableWhenCancelled() beside the child's
// pipes, so the signalling stays on the thread that owns (and reaps) the child.
class CommandCancellation
{
public:
    CommandCancellation();
    ~CommandCancellation();
    CommandCancellation(const CommandCancellation &) = delete;
    CommandCancellation &operator=(const CommandCancellation &) = delete;

    void cancel();
    bool isCancelled() const { return m_cancelled.load(std::memory_order_acquire); }

    // A descriptor that polls readable from the moment of cancel() on; -1 if none could be made
    // (then only isCancelled() tells).
    int readableWhenCancelled() const { return m_readEnd; }

private:
    std::atomic<bool> m_cancelled = false;
    int m_readEnd = -1;
    int m_writeEnd = -1;
};

} // namespace vantorel
