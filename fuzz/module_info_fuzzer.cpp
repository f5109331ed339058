// Module facts of arbitrary bytes: the module record, every instrument name and a short,
// capped stretch of rendering. Half of the inputs are laid over a valid module so that the
// header fields, order list and pattern data get mutated and not only rejected.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/modules/loaded_module.hpp"
#include "tests/support/module_fixture.hpp"

namespace {

std::vector<uint8_t> overValidModule(const uint8_t* data, size_t size) {
    static const std::vector<uint8_t> base = [] {
        zorbel::testing::ModuleSpec spec;
        spec.channels = 8;
        return zorbel::testing::makeModule(spec);
    }();
    std::vector<uint8_t> bytes = base;
    // Pairs of (offset, value) bytes patch the module; the rest is appended.
    size_t i = 0;
    for (; i + 2 < size && i < 64; i += 3) {
        const size_t offset = (static_cast<size_t>(data[i]) << 8 | data[i + 1]) % bytes.size();
        bytes[offset] = data[i + 2];
    }
    bytes.insert(bytes.end(), data + i, data + size);
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    std::vector<uint8_t> bytes = (data[0] & 1) ? overValidModule(data + 1, size - 1) : std::vector<uint8_t>(data + 1, data + size);
    auto module = zorbel::modules::LoadedModule::fromBytes(bytes.data(), bytes.size());
    if (!module) return 0;
    zorbel::modules::ModuleInfo info = module->info();
    zorbel::modules::InstrumentInfo instrument;
    for (uint32_t n = 0; n <= info.numInstruments + 1 && n < 300; ++n) module->instrumentInfo(n, instrument);
    module->rewind(false);
    int16_t samples[2 * 1024];
    // At most half a second at a low rate, however the module is built.
    for (int block = 0; block < 4; ++block)
        if (module->render(8000, samples, 1024) == 0) break;
    module->status();
    module->setOrder(static_cast<int32_t>(info.songLength / 2));
    return 0;
}
