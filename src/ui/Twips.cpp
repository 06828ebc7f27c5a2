#include "ui/Twips.h"

#include <QPaintDevice>
#include <QtMath>
#include <algorithm>

namespace twips {

int toPx(const QPaintDevice& device, int twips) {
    return qRound(twips * device.logicalDpiX() / 1440.0);
}

int fromPx(const QPaintDevice& device, int px) {
    return qRound(px * 1440.0 / std::max(1, device.logicalDpiX()));
}

} // namespace twips
