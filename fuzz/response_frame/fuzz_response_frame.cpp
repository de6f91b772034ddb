// Feeds arbitrary bytes to the response acceptance test, both whole and one byte at a
// time as the transaction does, and checks what it accepts really is a frame.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "frame.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string whole(reinterpret_cast<const char*>(data), size);
    if (CheckResponseFrame(whole)) {
        if (whole.size() < frame::kResponseOverhead || whole.size() > frame::kMaxResponseFrame ||
            static_cast<uint8_t>(whole.front()) != frame::kStart ||
            static_cast<uint8_t>(whole.back()) != frame::kEnd) {
            std::abort();
        }
        (void)responseData(whole);
        (void)responseStatus(whole);
    }
    std::string growing;
    for (size_t i = 0; i < size; ++i) {
        growing.push_back(static_cast<char>(data[i]));
        if (CheckResponseFrame(growing)) {
            (void)responseData(growing);
            growing.clear();
        }
    }
    return 0;
}
