#include "fileops/NameInput.h"

#include "core/errors/Traced.h"
#include "core/files/FileInfo.h"
#include "core/text/MyTime.h"

#include <QComboBox>
#include <QLineEdit>
#include <QValidator>

namespace {

class TByteLengthValidator : public QValidator
{
public:
    TByteLengthValidator(int maxBytes, QObject* parent) : QValidator(parent), MaxBytes(maxBytes) {}
    State validate(QString& input, int&) const override
    {
        return input.toUtf8().size() <= MaxBytes ? Acceptable : Invalid;
    }

private:
    int MaxBytes;
};

} // namespace

bool HoldsAnyOf(std::string_view text, std::string_view characters)
{
    return text.find_first_of(characters) != std::string_view::npos;
}

bool IsDotsAndBlanksOnly(std::string_view name)
{
    return name.find_first_not_of(". ") == std::string_view::npos;
}

std::string GetStampByCurrent()
{
    return NowToCompactText() + "_";
}

std::string GetStampByCreation(const std::string& path)
{
    TTraced trace;
    std::string stamp;
    trace.Run([&] {
        TFileInfo info;
        info.Load(path);
        if (trace.TakeOver())
            return;
        stamp = DateTimeToCompactText(ConvertFileTime(info.CreationTime)) + "_";
    });
    return stamp;
}

void LimitTextBytes(QComboBox& comboBox, int maxBytes)
{
    comboBox.lineEdit()->setMaxLength(maxBytes);
    comboBox.setValidator(new TByteLengthValidator(maxBytes, &comboBox));
}
