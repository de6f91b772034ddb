// Conversions between our 0x00BBGGRR colour values and Qt's colours.
#pragma once

#include <QColor>

#include "color_ref.h"

inline QColor toQColor(ColorRef colour) {
    return QColor(int(redOf(colour)), int(greenOf(colour)), int(blueOf(colour)));
}

inline ColorRef toColorRef(const QColor& colour) {
    return makeColorRef(uint32_t(colour.red()), uint32_t(colour.green()), uint32_t(colour.blue()));
}
