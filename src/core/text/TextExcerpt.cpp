#include "core/text/TextExcerpt.h"

#include "core/text/TextCharacter.h"

QString DecodeTextExcerpt(std::string_view bytes)
{
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (size_t i = 0; i < bytes.size();) {
        if (CutSequenceLength(bytes, i) != 0)
            break;
        const TTextCharacter character = DecodeCharacterAt(bytes, i);
        const char32_t codePoint[1] = {character.CodePoint};
        text.append(QString::fromUcs4(codePoint, 1));
        i += character.Length;
    }
    return text;
}
