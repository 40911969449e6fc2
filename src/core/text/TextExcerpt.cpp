#include "core/text/TextExcerpt.h"

QString DecodeTextExcerpt(std::string_view bytes)
{
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}
