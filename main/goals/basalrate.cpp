#include "main/goals/basalrate.h"

namespace basalrate {

Coefficients coefficients(int sexItem, int ageItem)
{
    static const Coefficients kMale[] = {{74, 2754}, {63, 2896}, {48, 3653}, {49, 2459}};
    static const Coefficients kFemale[] = {{56, 2898}, {62, 2036}, {34, 3538}, {38, 2755}};
    if (sexItem == 0 || ageItem < 1 || ageItem > 4)
        return {0, 0};
    return sexItem == 1 ? kMale[ageItem - 1] : kFemale[ageItem - 1];
}

} // namespace basalrate
