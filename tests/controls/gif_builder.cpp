#include "gif_builder.h"

#include <algorithm>
#include <cstring>

GifBuilder::GifBuilder(int width, int height, const char* signature) {
    bytes_.assign(signature, signature + std::strlen(signature));
    u16(width);
    u16(height);
    bytes_.insert(bytes_.end(), {0x81, 0, 0});
    bytes_.insert(bytes_.end(), {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255});
}

void GifBuilder::u16(int value) {
    bytes_.push_back(uint8_t(value & 0xFF));
    bytes_.push_back(uint8_t((value >> 8) & 0xFF));
}

void GifBuilder::subBlocks(const std::vector<uint8_t>& data) {
    for (size_t start = 0; start < data.size(); start += 255) {
        const size_t length = std::min<size_t>(255, data.size() - start);
        bytes_.push_back(uint8_t(length));
        bytes_.insert(bytes_.end(), data.begin() + long(start),
                      data.begin() + long(start + length));
    }
    bytes_.push_back(0);
}

GifBuilder& GifBuilder::control(uint16_t delay, uint8_t disposal,
                                std::optional<uint8_t> transparent) {
    bytes_.insert(bytes_.end(), {0x21, 0xF9, 4, uint8_t((disposal << 2) | (transparent ? 1 : 0))});
    u16(delay);
    bytes_.insert(bytes_.end(), {transparent.value_or(0), 0});
    return *this;
}

GifBuilder& GifBuilder::image(int left, int top, int width, int height,
                              const std::vector<uint8_t>& pixels) {
    bytes_.push_back(0x2C);
    u16(left);
    u16(top);
    u16(width);
    u16(height);
    bytes_.push_back(0);
    bytes_.push_back(2);
    std::vector<uint8_t> coded;
    uint32_t bits = 0;
    int count = 0;
    auto emit = [&](uint32_t code) {
        bits |= code << count;
        count += 3;
        while (count >= 8) {
            coded.push_back(uint8_t(bits & 0xFF));
            bits >>= 8;
            count -= 8;
        }
    };
    for (uint8_t pixel : pixels) {
        emit(4);
        emit(pixel);
    }
    emit(5);
    if (count > 0) {
        coded.push_back(uint8_t(bits & 0xFF));
    }
    subBlocks(coded);
    return *this;
}

GifBuilder& GifBuilder::solidImage(int left, int top, int width, int height, uint8_t colour) {
    return image(left, top, width, height, std::vector<uint8_t>(size_t(width * height), colour));
}

GifBuilder& GifBuilder::comment(const std::string& text) {
    bytes_.insert(bytes_.end(), {0x21, 0xFE});
    subBlocks(std::vector<uint8_t>(text.begin(), text.end()));
    return *this;
}

GifBuilder& GifBuilder::application() {
    const char* id = "KORVEXTS1.0";
    bytes_.insert(bytes_.end(), {0x21, 0xFF, 11});
    bytes_.insert(bytes_.end(), id, id + 11);
    subBlocks({1, 0, 0});
    return *this;
}

GifBuilder& GifBuilder::plainText() {
    bytes_.insert(bytes_.end(), {0x21, 0x01, 12});
    bytes_.insert(bytes_.end(), 12, 0);
    subBlocks({'h', 'i'});
    return *this;
}

GifBuilder& GifBuilder::raw(const std::vector<uint8_t>& more) {
    bytes_.insert(bytes_.end(), more.begin(), more.end());
    return *this;
}

GifBuilder& GifBuilder::trailer() {
    bytes_.push_back(0x3B);
    return *this;
}
