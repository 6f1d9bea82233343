#pragma once

// The basal rate in kJ per day, w · a + b with w the body weight in kg,
// by sex and age group (the Schofield equations).
namespace basalrate {

struct Coefficients
{
    int a;
    int b;
};

// `sexItem` 1 is male, any other non-zero item female; `ageItem` 1 ... 4 are
// the age groups 10-18, 19-30, 31-60 and over 60 years. Items outside
// give {0, 0}.
Coefficients coefficients(int sexItem, int ageItem);

} // namespace basalrate
