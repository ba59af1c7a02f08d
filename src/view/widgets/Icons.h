#pragma once
// The 16 x 16 pictures of the two lists, drawn rather than loaded.
#include <QIcon>

namespace trv {

// Test list, by image index: 0 single reading, 1 single reading out of range or faulty,
// 2 step test, 3 step test whose first reading is out of range or faulty.
QIcon TestListIcon(int index);
// Measurement list, by image index: 0/1 single reading, 2/3 PrL, 4/5 Ld, 6/7 AFL
// (the odd index: reading out of range or faulty).
QIcon MeasurementListIcon(int index);
// The program's own icon.
QIcon AppIcon();

}  // namespace trv
