#include "core/forms/PasswordHelpers.h"

#include "core/forms/MessageBoxes.h"
#include "core/text/Random.h"
#include "core/text/Sha1.h"
#include "core/text/Text.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

#include <array>
#include <cstdlib>

namespace {

QString TextOf(const QWidget& control)
{
    if (const auto* line = qobject_cast<const QLineEdit*>(&control))
        return line->text();
    if (const auto* plain = qobject_cast<const QPlainTextEdit*>(&control))
        return plain->toPlainText();
    if (const auto* rich = qobject_cast<const QTextEdit*>(&control))
        return rich->toPlainText();
    return {};
}

void SetTextOf(QWidget& control, const QString& text)
{
    if (auto* line = qobject_cast<QLineEdit*>(&control))
        line->setText(text);
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(&control))
        plain->setPlainText(text);
    else if (auto* rich = qobject_cast<QTextEdit*>(&control))
        rich->setPlainText(text);
}

} // namespace

void ClearSecretText(QWidget& control)
{
    SetTextOf(control, QString(TextOf(control).size(), QChar(0xFF)));
    SetTextOf(control, QString());
}

void HashControlText(QWidget& control, const std::string& algorithm, int32_t iterations)
{
    const QString text = TextOf(control);
    if (text.isEmpty()) {
        ShowWarningMessage("There is no text to hash.");
        return;
    }
    if (algorithm != "SHA160" && !algorithm.empty()) {
        ShowErrorMessage("Unknown hash algorithm.");
        return;
    }
    TSha1Digest digest;
    Sha1HashString(text.toStdString().c_str(), digest);
    ClearSecretText(control);
    for (int32_t i = 1; i < iterations; ++i)
        Sha1HashDigest(digest, digest);
    SetTextOf(control, QString::fromStdString(BytesToHexText(digest.data(), digest.size())));
}

std::string GenerateHexPassword(int32_t mode)
{
    const int32_t rounds = std::abs(static_cast<int32_t>(Random.Get()) % 1000) + 1000;
    std::array<uint8_t, 32> seed{};
    for (size_t i = 0; i < seed.size(); i += 4) {
        const uint32_t value = Random.Get();
        for (size_t k = 0; k < 4; ++k)
            seed[i + k] = static_cast<uint8_t>(value >> (8 * k));
    }
    TSha1Digest digest;
    Sha1HashBuffer(seed.data(), static_cast<uint32_t>(seed.size()), digest);
    seed.fill(0);
    for (int32_t i = 1; i < rounds; ++i)
        Sha1HashDigest(digest, digest);
    std::string text = BytesToHexText(digest.data(), digest.size());
    digest.fill(0);
    const size_t kept = mode == 1 ? 10 : mode == 2 ? 20 : 40;
    return text.substr(0, kept);
}
