// The libFuzzer entry of one target, chosen at build time (MARVOK_FUZZ_TARGET).
#include "tests/fuzz/fuzz_targets.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MARVOK_FUZZ_TARGET(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
    return 0;
}
