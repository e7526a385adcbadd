#pragma once

#include <QString>
#include <exception>

// The failure's type as written in the source ("std::out_of_range"), for diagnostic log lines.
QString exceptionName(const std::exception &failure);
