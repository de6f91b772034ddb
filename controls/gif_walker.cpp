#include "gif_walker.h"

#include <cstring>

namespace gif {

namespace {

constexpr uint8_t kExtensionIntroducer = 0x21;
constexpr uint8_t kImageSeparator = 0x2C;
constexpr uint8_t kTrailer = 0x3B;
constexpr size_t kApplicationFixed = 14;
constexpr size_t kCommentFixed = 2;
constexpr size_t kControlLength = 8;
constexpr size_t kPlainTextFixed = 15;
constexpr size_t kImageDescriptor = 10;

size_t colourTableSize(uint8_t packed) {
    if ((packed & 0x80) == 0) {
        return 0;
    }
    return 3u * (size_t{2} << (packed & 0x07));
}

bool isGraphicOrTrailer(BlockKind kind) {
    return kind == BlockKind::Control || kind == BlockKind::Image || kind == BlockKind::PlainText ||
           kind == BlockKind::Trailer;
}

}  // namespace

bool hasGifSignature(std::span<const uint8_t> data) {
    if (data.size() < 6) {
        return false;
    }
    return std::memcmp(data.data(), "GIF87a", 6) == 0 || std::memcmp(data.data(), "GIF89a", 6) == 0;
}

uint32_t frameHoldMs(uint32_t delay) {
    return delay >= 5 ? delay * 10u : 100u;
}

GifWalker::GifWalker(std::span<const uint8_t> data) : data_(data) {
    globalTableSize_ = colourTableSize(byteAt(10).value_or(0));
    rewind();
}

std::optional<uint8_t> GifWalker::byteAt(size_t offset) const {
    if (offset >= data_.size()) {
        return std::nullopt;
    }
    return data_[offset];
}

int32_t GifWalker::readU16(size_t offset) const {
    auto low = byteAt(offset);
    auto high = byteAt(offset + 1);
    if (!low || !high) {
        return 0;
    }
    return *low | (*high << 8);
}

BlockKind GifWalker::nextBlockKind() const {
    auto first = byteAt(readOffset_);
    if (!first) {
        return BlockKind::Unrecognised;
    }
    if (*first == kImageSeparator) {
        return BlockKind::Image;
    }
    if (*first == kTrailer) {
        return BlockKind::Trailer;
    }
    auto label = byteAt(readOffset_ + 1);
    if (*first != kExtensionIntroducer || !label) {
        return BlockKind::Unrecognised;
    }
    switch (*label) {
        case 0xFF:
            return BlockKind::Application;
        case 0xFE:
            return BlockKind::Comment;
        case 0xF9:
            return BlockKind::Control;
        case 0x01:
            return BlockKind::PlainText;
        default:
            return BlockKind::Unrecognised;
    }
}

std::optional<size_t> GifWalker::subBlockChainLength(size_t start) const {
    size_t offset = start;
    for (;;) {
        auto length = byteAt(offset);
        if (!length) {
            return std::nullopt;
        }
        offset += 1 + *length;
        if (*length == 0) {
            return offset - start;
        }
    }
}

std::optional<size_t> GifWalker::imageBlockLength() const {
    auto packed = byteAt(readOffset_ + 9);
    if (!packed) {
        return std::nullopt;
    }
    // Descriptor, local colour table, then the LZW minimum code size before the data.
    size_t fixed = kImageDescriptor + colourTableSize(*packed) + 1;
    auto chain = subBlockChainLength(readOffset_ + fixed);
    if (!chain) {
        return std::nullopt;
    }
    return fixed + *chain;
}

std::optional<size_t> GifWalker::nextBlockLength() const {
    auto withChain = [this](size_t fixed) -> std::optional<size_t> {
        auto chain = subBlockChainLength(readOffset_ + fixed);
        if (!chain) {
            return std::nullopt;
        }
        return fixed + *chain;
    };
    switch (nextBlockKind()) {
        case BlockKind::Application:
            return withChain(kApplicationFixed);
        case BlockKind::Comment:
            return withChain(kCommentFixed);
        case BlockKind::Control:
            return kControlLength;
        case BlockKind::PlainText:
            return withChain(kPlainTextFixed);
        case BlockKind::Image:
            return imageBlockLength();
        case BlockKind::Trailer:
            return 1;
        case BlockKind::Unrecognised:
            break;
    }
    return std::nullopt;
}

bool GifWalker::skipBlock() {
    auto length = nextBlockLength();
    if (!length || *length > data_.size() || readOffset_ > data_.size() - *length) {
        return false;
    }
    readOffset_ += *length;
    return true;
}

bool GifWalker::skipExtensions() {
    for (;;) {
        BlockKind kind = nextBlockKind();
        if (isGraphicOrTrailer(kind)) {
            return true;
        }
        if (kind == BlockKind::Unrecognised || !skipBlock()) {
            return false;
        }
    }
}

bool GifWalker::skipToGraphic() {
    for (;;) {
        BlockKind kind = nextBlockKind();
        if (kind == BlockKind::Image || kind == BlockKind::PlainText) {
            return true;
        }
        if (kind == BlockKind::Trailer || kind == BlockKind::Unrecognised || !skipBlock()) {
            return false;
        }
    }
}

bool GifWalker::skipGraphicBlock() {
    if (!skipExtensions() || nextBlockKind() == BlockKind::Trailer) {
        return false;
    }
    if (nextBlockKind() == BlockKind::Control && (!skipBlock() || !skipToGraphic())) {
        return false;
    }
    return skipBlock();
}

size_t GifWalker::countFrames() {
    rewind();
    size_t count = 0;
    while (skipGraphicBlock()) {
        ++count;
    }
    return count;
}

std::optional<FrameStream> GifWalker::extractFrame() {
    FrameStream frame;
    if (!skipExtensions() || nextBlockKind() == BlockKind::Trailer) {
        return std::nullopt;
    }
    const size_t start = readOffset_;
    if (nextBlockKind() == BlockKind::Control) {
        frame.delay = static_cast<uint32_t>(readU16(start + 4));
        frame.disposal = (byteAt(start + 3).value_or(0) >> 2) & 7u;
        if (!skipBlock() || !skipToGraphic()) {
            return std::nullopt;
        }
    }
    if (nextBlockKind() == BlockKind::Image) {
        frame.frameLeft = readU16(readOffset_ + 1);
        frame.frameTop = readU16(readOffset_ + 3);
        frame.frameWidth = readU16(readOffset_ + 5);
        frame.frameHeight = readU16(readOffset_ + 7);
    }
    if (!skipBlock()) {
        return std::nullopt;
    }
    // The header and global colour table are known to be inside the buffer: a block was read
    // after them.
    const size_t headerEnd = kHeaderSize + globalTableSize_;
    frame.bytes.reserve(headerEnd + (readOffset_ - start) + 1);
    frame.bytes.assign(data_.begin(), data_.begin() + static_cast<std::ptrdiff_t>(headerEnd));
    frame.bytes.insert(frame.bytes.end(), data_.begin() + static_cast<std::ptrdiff_t>(start),
                       data_.begin() + static_cast<std::ptrdiff_t>(readOffset_));
    frame.bytes.push_back(kTrailer);
    return frame;
}

}  // namespace gif
