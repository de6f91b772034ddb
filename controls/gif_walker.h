// Walks the block structure of a GIF file without decoding any pixels, so that an
// animation can be split into single-image GIF streams for the picture loader.
// Every read is checked against the buffer's end; malformed input ends the walk.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace gif {

enum class BlockKind { Application, Comment, Control, PlainText, Image, Trailer, Unrecognised };

// Delay of a frame that has no graphic control extension.
inline constexpr uint32_t kNoDelay = 0xFFFFFFFFu;
inline constexpr size_t kHeaderSize = 13;

// One frame re-packed as a complete GIF stream, with the fields read on the way.
struct FrameStream {
    std::vector<uint8_t> bytes;
    int32_t frameWidth = 0;
    int32_t frameHeight = 0;
    int32_t frameLeft = 0;
    int32_t frameTop = 0;
    uint32_t delay = kNoDelay;
    uint32_t disposal = 0;
};

// True when the bytes begin with "GIF87a" or "GIF89a"; any other version is not ours to parse.
bool hasGifSignature(std::span<const uint8_t> data);

// How long a frame stays on screen: its delay in hundredths of a second, with short delays
// raised to 100 ms. The product wraps like the unsigned arithmetic it comes from, so a frame
// without a control extension is held for about 49 days, that is until the animation stops.
uint32_t frameHoldMs(uint32_t delay);

class GifWalker {
public:
    explicit GifWalker(std::span<const uint8_t> data);

    int32_t screenWidth() const { return readU16(6); }
    int32_t screenHeight() const { return readU16(8); }
    size_t globalTableSize() const { return globalTableSize_; }
    size_t readOffset() const { return readOffset_; }

    // Back to the first block after the header and the global colour table.
    void rewind() { readOffset_ = kHeaderSize + globalTableSize_; }

    BlockKind nextBlockKind() const;
    // Total length of the next block, or nothing when it is unrecognised or runs past the end.
    std::optional<size_t> nextBlockLength() const;
    bool skipBlock();

    // Passes one frame (control extension, anything between, image); false when none is left.
    bool skipGraphicBlock();
    // Counts the frames from the start of the blocks; leaves the walker at the end of the walk.
    size_t countFrames();
    // Re-packs the next frame, or gives nothing when no complete frame is left.
    std::optional<FrameStream> extractFrame();

private:
    int32_t readU16(size_t offset) const;
    std::optional<uint8_t> byteAt(size_t offset) const;
    std::optional<size_t> subBlockChainLength(size_t start) const;
    std::optional<size_t> imageBlockLength() const;
    // Skips application and comment extensions; false on an unrecognised block or a failed skip.
    bool skipExtensions();
    // After a control extension: skips to the image or plain-text block; false otherwise.
    bool skipToGraphic();

    std::span<const uint8_t> data_;
    size_t globalTableSize_ = 0;
    size_t readOffset_ = 0;
};

}  // namespace gif
