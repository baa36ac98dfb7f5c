// The person pictures: friendly flat portraits, each on a pastel disc.
#pragma once

#include <QImage>
#include <vector>

// The men's pictures in order (m000, m001, ...), then the women's.
std::vector<QImage> DrawMen();
std::vector<QImage> DrawWomen();
