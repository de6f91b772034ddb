// Walks arbitrary bytes as a GIF: counting and extracting must agree, and every extracted
// stream must be a well-formed single-frame GIF that walks to the same fields again.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "gif_walker.h"

namespace {

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void checkStream(std::span<const uint8_t> source, const gif::GifWalker& walker,
                 const gif::FrameStream& frame) {
    const size_t header = gif::kHeaderSize + walker.globalTableSize();
    check(frame.bytes.size() > header + 1 && frame.bytes.size() <= source.size() + 1);
    check(std::equal(source.begin(), source.begin() + long(header), frame.bytes.begin()));
    check(frame.bytes.back() == 0x3B);
    check(frame.disposal <= 7);
    gif::GifWalker again(frame.bytes);
    check(again.countFrames() == 1);
    again.rewind();
    auto copy = again.extractFrame();
    check(copy && copy->bytes == frame.bytes && copy->delay == frame.delay &&
          copy->disposal == frame.disposal && copy->frameLeft == frame.frameLeft &&
          copy->frameWidth == frame.frameWidth && copy->frameHeight == frame.frameHeight);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    (void)gif::hasGifSignature(bytes);
    gif::GifWalker walker(bytes);
    const size_t counted = walker.countFrames();
    walker.rewind();
    size_t extracted = 0;
    while (auto frame = walker.extractFrame()) {
        checkStream(bytes, walker, *frame);
        ++extracted;
    }
    check(extracted == counted);
    check(walker.readOffset() <= size || counted == 0);
    return 0;
}
