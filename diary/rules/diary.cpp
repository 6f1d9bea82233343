#include "diary/rules/diary.h"

namespace diary {

std::optional<Range> Range::elevenYears(int firstYear)
{
    if (firstYear < kEarliestFirstYear || firstYear > kLatestFirstYear)
        return std::nullopt;
    return Range{QDate(firstYear, 1, 1), QDate(firstYear + 10, 12, 31)};
}

QDate Range::lastStartDay() const
{
    return last.addDays(-2);
}

QDate Range::firstMaintainedDay() const
{
    return first.addDays(1);
}

} // namespace diary
