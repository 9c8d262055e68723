#pragma once

#include <chrono>

// A seam for the tests: makes the store's file layer fail one kind of call at its Nth use, as a
// full disk or a failing device would, and shortens the lock timeout. Nothing is armed unless a
// test arms it; the state is per process.
namespace quorvel::store::faults {

enum class Call {
    Write,     // a write of new bytes: writes half of them, then fails with ENOSPC
    Fsync,     // fsync or fdatasync fails with EIO
    Rename,    // the rename of the temporary file fails with EIO
    Fallocate, // the reservation of space fails with ENOSPC
};

// The nth call of that kind from now on (1 for the next one) fails; 0 disarms it.
void FailAt(Call call, int nth);
// Disarms every call and puts the lock timeout back.
void Reset();
// True when this call is the one armed to fail (counts the call).
bool Hit(Call call);

// The lock timeout to use instead of the normal one, until Reset.
void SetLockTimeout(std::chrono::milliseconds timeout);
std::chrono::milliseconds LockTimeout(std::chrono::milliseconds normal);

} // namespace quorvel::store::faults
