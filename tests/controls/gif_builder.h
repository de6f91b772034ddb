// Builds small GIF byte streams block by block for the walker and picture tests. Pixel data
// is LZW-coded the simplest valid way: a clear code before every pixel keeps codes 3 bits wide.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class GifBuilder {
public:
    // A four-colour global table: 0 red, 1 green, 2 blue, 3 white.
    GifBuilder(int width, int height, const char* signature = "GIF89a");

    GifBuilder& control(uint16_t delay, uint8_t disposal, std::optional<uint8_t> transparent = {});
    GifBuilder& image(int left, int top, int width, int height, const std::vector<uint8_t>& pixels);
    GifBuilder& solidImage(int left, int top, int width, int height, uint8_t colour);
    GifBuilder& comment(const std::string& text);
    GifBuilder& application();
    GifBuilder& plainText();
    GifBuilder& raw(const std::vector<uint8_t>& more);
    GifBuilder& trailer();

    const std::vector<uint8_t>& bytes() const { return bytes_; }

private:
    void u16(int value);
    void subBlocks(const std::vector<uint8_t>& data);

    std::vector<uint8_t> bytes_;
};
