#pragma once
// Sizes of the windows and list columns are given in twips: 1440 to the inch, so 15 to a
// pixel at 96 dpi. They follow the device's logical dpi, so a larger screen setting widens
// the columns with the text.
class QPaintDevice;

namespace twips {
int toPx(const QPaintDevice& device, int twips);
int fromPx(const QPaintDevice& device, int px);
} // namespace twips
