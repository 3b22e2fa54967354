#pragma once

#include <atomic>

namespace velmarto {

// Asks a running conversion to stop. Set from any thread, or from a signal handler: cancel() is
// a lock-free atomic store. The engine runner looks at it while it waits for an engine.
class CancellationToken {
public:
    void cancel() noexcept { m_cancelled.store(true, std::memory_order_relaxed); }
    bool isCancelled() const noexcept { return m_cancelled.load(std::memory_order_relaxed); }

private:
    static_assert(std::atomic<bool>::is_always_lock_free);
    std::atomic<bool> m_cancelled{false};
};

} // namespace velmarto
