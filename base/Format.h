// printf-style formatting into a std::string: the texts of the program are
// given as C format strings ("%02X", "%d%%"), so they are produced the same way.
#pragma once

#include <cstdarg>
#include <string>

namespace orx {

std::string strprintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string vstrprintf(const char* format, va_list args);

// As printf's "%.<decimals>f" gives it in the C locale, whatever locale the
// program runs in, and without printf's cost per call.
std::string fixed(double value, int decimals);
void appendFixed(std::string& out, double value, int decimals);

}  // namespace orx
