// How numbers from the device library are written into the log.
#pragma once

#include <QString>

#include <cstdint>

// Carriage return and line feed: every line in the log ends with them.
inline const QString CrLf = QStringLiteral("\r\n");

// Upper-case hexadecimal digits without leading zeros or prefix (0 gives
// "0"); a negative value gives its eight-digit two's complement.
QString hexText(std::int32_t value);

// Decimal digits with a leading minus sign when negative.
QString decText(std::int32_t value);
