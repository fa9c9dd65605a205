#include "console/textforms.h"

QString hexText(std::int32_t value)
{
    return QString::number(static_cast<std::uint32_t>(value), 16).toUpper();
}

QString decText(std::int32_t value)
{
    return QString::number(value);
}
