#include "gradient_bands.h"

#include <algorithm>
#include <cmath>

namespace {

uint32_t channelStep(int band, uint32_t start, uint32_t end) {
    const double value =
        band * (static_cast<double>(end) - static_cast<double>(start)) / 255.0 + start;
    return static_cast<uint32_t>(std::clamp(std::trunc(value), 0.0, 255.0));
}

}  // namespace

std::array<GradientBand, kGradientBands> gradientBands(int extent, ColorRef start, ColorRef end) {
    std::array<GradientBand, kGradientBands> bands{};
    const int safeExtent = std::max(extent, 0);
    const float step = static_cast<float>(safeExtent) / 255.0f;
    for (int i = 0; i < kGradientBands; ++i) {
        GradientBand& band = bands[static_cast<size_t>(i)];
        band.from = static_cast<int>(static_cast<float>(i) * step);
        band.to = static_cast<int>(static_cast<float>(i + 1) * step);
        band.colour = makeColorRef(channelStep(i, redOf(start), redOf(end)),
                                   channelStep(i, greenOf(start), greenOf(end)),
                                   channelStep(i, blueOf(start), blueOf(end)));
    }
    bands.back().to = safeExtent;
    return bands;
}
