#pragma once

#include <string_view>

// Value of a decimal number at the start of `text` as a 32-bit float: leading white space
// skipped, an optional sign, digits with at most one point and an optional exponent; the
// number ends at the first character that cannot continue it. No number gives 0. The result
// does not depend on the process locale (quotes always use "." as the decimal point).
float DecimalToFloat(std::string_view text);
