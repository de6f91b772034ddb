// The banded gradient fill, used where no smooth gradient fill is available: the extent is cut
// into 255 bands of stepped colour.
#pragma once

#include <array>

#include "color_ref.h"

struct GradientBand {
    int from = 0;  // first pixel of the band along the gradient
    int to = 0;    // one past its last pixel; equal to from for a band of no width
    ColorRef colour = 0;
};

inline constexpr int kGradientBands = 255;

// Band i runs from trunc(i * s) to trunc((i + 1) * s) with s = extent / 255 in single
// precision, and steps i / 255 of the way from start to end. The last band always ends at the
// extent: single-precision rounding would otherwise leave the far edge unpainted for some
// extents (1023 pixels, for one).
std::array<GradientBand, kGradientBands> gradientBands(int extent, ColorRef start, ColorRef end);
