#pragma once

#include <cstddef>

// Counts the bytes the program holds through operator new, so that a benchmark can report the
// peak memory of one operation. The counting versions of the global operators live in
// AllocationCounter.cpp and replace the standard ones for the whole binary.
namespace quorvel::bench {

std::size_t CurrentBytes();
std::size_t PeakBytes();

// Starts a new peak from what is held now.
void ResetPeak();

// The peak above what was held when it was created.
class PeakScope {
public:
    PeakScope() : start_(CurrentBytes()) { ResetPeak(); }
    std::size_t PeakAbove() const { return PeakBytes() - start_; }

private:
    std::size_t start_ = 0;
};

} // namespace quorvel::bench
