// libFuzzer's entry point for one target, chosen at build time.
#include "fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return TRADUMAR_FUZZ_FUNCTION(data, size);
}
