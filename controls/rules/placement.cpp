#include "controls/rules/placement.h"

#include <algorithm>
#include <cmath>

namespace placement {

Placement place(QRect available, QSize client, QMargins frame, double desiredScale)
{
    const double roomX = available.width() - frame.left() - frame.right();
    const double roomY = available.height() - frame.top() - frame.bottom();
    const double fitting = std::min(roomX / client.width(), roomY / client.height());
    double scale = desiredScale;
    if (fitting < desiredScale) {
        // Hundredths, rounded down, so that the window's rounded size fits
        // too; a tiny allowance keeps an exact fit such as 1.2 from falling
        // to 1.19.
        const double hundredths = std::floor(fitting * 100 + 1e-6) / 100;
        scale = std::max(hundredths, std::min(desiredScale, 1.0));
    }
    const int width = static_cast<int>(std::ceil(client.width() * scale)) + frame.left() + frame.right();
    const int height = static_cast<int>(std::ceil(client.height() * scale)) + frame.top() + frame.bottom();
    const QPoint topLeft(available.x() + std::max(0, (available.width() - width) / 2),
                         available.y() + std::max(0, (available.height() - height) / 2));
    return {scale, topLeft};
}

} // namespace placement
