#include "core/text/TextExcerpt.h"

#include "core/text/TextCharacter.h"

namespace {

void AppendCodePoint(QString& text, char32_t codePoint)
{
    if (QChar::requiresSurrogates(codePoint)) {
        text.append(QChar(QChar::highSurrogate(codePoint)));
        text.append(QChar(QChar::lowSurrogate(codePoint)));
    } else {
        text.append(QChar(static_cast<char16_t>(codePoint)));
    }
}

QString Decode(std::string_view bytes, bool dropCutEnd)
{
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (size_t i = 0; i < bytes.size();) {
        if (dropCutEnd && CutSequenceLength(bytes, i) != 0)
            break;
        const TTextCharacter character = DecodeCharacterAt(bytes, i);
        AppendCodePoint(text, character.CodePoint);
        i += character.Length;
    }
    return text;
}

} // namespace

QString DecodeText(std::string_view bytes)
{
    return Decode(bytes, false);
}

QString DecodeTextExcerpt(std::string_view bytes)
{
    return Decode(bytes, true);
}
