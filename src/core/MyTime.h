#pragma once

#include <string>

// Date-time values are days since 30 December 1899, the time of day as the fraction.
double Now();
std::string GetLongDateTimeText(const std::string& separator, double value);
