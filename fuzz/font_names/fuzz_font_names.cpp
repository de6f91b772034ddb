// Feeds arbitrary bytes to the font name reader, which must stay inside the buffer
// whatever the table directory and the name records claim. The bytes are copied into a
// buffer of exactly their size so that the address sanitizer sees any read past it.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "font_names.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> font(data, data + size);
    FontNameReader reader;
    const bool found = reader.ReadFontNames(font.data(), font.size());
    if (!found && reader.foundMask() != 0) {
        std::abort();
    }
    for (int id = 0; id < FontNameReader::kNameCount; ++id) {
        const bool stored = reader.foundMask() & (1u << id);
        if (!stored && !reader.name(id).empty()) {
            std::abort();
        }
    }
    reader.Reset();
    if (reader.foundMask() != 0 || !reader.FullName().empty()) {
        std::abort();
    }
    return 0;
}
