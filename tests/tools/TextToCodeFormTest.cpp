#include "tools/TextToCodeForm.h"

#include "core/forms/ModalSeam.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>

#include <string>

namespace {

// Runs the dialog: the text is typed, "&Generate HTML" pressed `presses` times; the box's
// text then.
std::string Generate(TTextToCodeForm& form, const std::string& text, int presses)
{
    std::string result;
    TModalScript script;
    script.Expect("Text to code", TTextToCodeForm::mrCancel, [&](const TModalRequest&) {
        form.TextEdit->setText(QString::fromStdString(text));
        for (int i = 0; i < presses; ++i)
            form.GenerateButton->click();
        result = form.TextEdit->text().toStdString();
    });
    form.Dialog();
    return result;
}

TEST(TextToCodeForm, EachCharacterBecomesOneReferenceToItsCodePoint)
{
    struct Case
    {
        const char* Text;
        int Presses;
        const char* Code;
    };
    const Case cases[] = {
        {"AB", 1, "&#x41;&#x42;"},
        {"\u00E9", 1, "&#xE9;"},
        {"\u20AC", 1, "&#x20AC;"},
        {"\u4E2D", 1, "&#x4E2D;"},
        {"mailto:a@b", 1, "&#x6D;&#x61;&#x69;&#x6C;&#x74;&#x6F;&#x3A;&#x61;&#x40;&#x62;"},
        // The second press converts the references themselves.
        {"A", 2, "&#x26;&#x23;&#x78;&#x34;&#x31;&#x3B;"},
        {"", 1, ""},
    };
    TTextToCodeForm form;
    for (const Case& c : cases)
        EXPECT_EQ(c.Code, Generate(form, c.Text, c.Presses)) << c.Text;
}

// A long text's references run far past an edit box's usual length; none is cut off.
TEST(TextToCodeForm, ALongTextIsConvertedWhole)
{
    TTextToCodeForm form;
    const std::string code = Generate(form, std::string(10000, 'A'), 1);
    EXPECT_EQ(60000u, code.size());
    EXPECT_EQ("&#x41;", code.substr(code.size() - 6));
}

} // namespace
