#include "store/FileFaults.h"

#include <array>
#include <cstddef>
#include <optional>

namespace quorvel::store::faults {
namespace {

constexpr std::size_t kCalls = 4;

struct State {
    std::array<int, kCalls> remaining{}; // calls left before the failing one; 0: not armed
    std::optional<std::chrono::milliseconds> lockTimeout;
};

State& Current() {
    static State state;
    return state;
}

} // namespace

void FailAt(Call call, int nth) {
    Current().remaining[static_cast<std::size_t>(call)] = nth;
}

void Reset() {
    Current() = State{};
}

bool Hit(Call call) {
    int& remaining = Current().remaining[static_cast<std::size_t>(call)];
    if (remaining <= 0) {
        return false;
    }
    return --remaining == 0;
}

void SetLockTimeout(std::chrono::milliseconds timeout) {
    Current().lockTimeout = timeout;
}

std::chrono::milliseconds LockTimeout(std::chrono::milliseconds normal) {
    return Current().lockTimeout.value_or(normal);
}

} // namespace quorvel::store::faults
