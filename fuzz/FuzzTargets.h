#pragma once

#include <cstddef>
#include <cstdint>

// The bodies of the fuzz targets, named so that the replay test can link both of them; each
// libFuzzer target's LLVMFuzzerTestOneInput only forwards to its own. A broken invariant aborts.
namespace quorvel::fuzz {

int RunSectionInput(const std::uint8_t* data, std::size_t size);
int RunProfileInput(const std::uint8_t* data, std::size_t size);

} // namespace quorvel::fuzz
