#include "core/forms/InputQuery.h"

#include "core/forms/MessageBoxes.h"

#include "support/TestSupport.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include <gtest/gtest.h>

namespace {

struct TFitRow
{
    const char* Case;
    QString Text;
    int32_t MaxBytes;
    QString Kept;
};

TEST(InputQuery, TheBoxKeepsWholeCharactersWithinItsBytesOnOneLine)
{
    const QString euro = QString::fromUtf8("\u20ac");           // 3 bytes
    const QString note = QString::fromUtf8("\xf0\x9d\x84\x9e"); // 4 bytes, two UTF-16 units
    const TFitRow rows[] = {
        {"within the limit", "abc", 3, "abc"},
        {"cut at the limit", "abcd", 3, "abc"},
        {"a character that would cross the limit goes whole", "ab" + euro, 4, "ab"},
        {"a character that ends on the limit stays", "a" + euro, 4, "a" + euro},
        {"a pair of surrogates is never split", "a" + note + "b", 4, "a"},
        {"the pair fits", "a" + note + "b", 5, "a" + note},
        {"line breaks are left out", "ab\r\ncd", 3, "abc"},
        {"nothing fits", euro, 2, ""},
    };
    for (const TFitRow& row : rows) {
        SCOPED_TRACE(row.Case);
        EXPECT_EQ(row.Kept, FitToOneLineOfBytes(row.Text, row.MaxBytes));
        EXPECT_LE(FitToOneLineOfBytes(row.Text, row.MaxBytes).toUtf8().size(), row.MaxBytes);
    }
}

void Type(QLineEdit& edit, const QString& text)
{
    for (const QChar character : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(character));
        QApplication::sendEvent(&edit, &press);
    }
}

TEST(InputQuery, TypingAndPastingStopAtTheLimit)
{
    TInputQueryForm form("Caption", "Prompt", 5);
    Type(*form.ValueEdit, "abcdefg");
    EXPECT_EQ("abcde", form.ValueEdit->text());
    form.ValueEdit->clear();
    form.ValueEdit->insert(QString::fromUtf8("x\u20ac\u20ac"));
    EXPECT_EQ(QString::fromUtf8("x\u20ac"), form.ValueEdit->text()) << "a paste is cut where the limit falls";
    form.ValueEdit->setText("abcde");
    form.ValueEdit->setCursorPosition(1);
    Type(*form.ValueEdit, "x");
    EXPECT_EQ("abcde", form.ValueEdit->text()) << "a full box keeps its end when typed into";
    EXPECT_EQ(1, form.ValueEdit->cursorPosition());
}

TEST(InputQuery, OkayGivesTheEditedTextAndCancelKeepsTheValue)
{
    std::string value = "old";
    {
        TModalScript script;
        script.Expect("Rename", mrOkay, [](const TModalRequest& request) {
            auto& form = dynamic_cast<TInputQueryForm&>(*request.Dialog);
            EXPECT_EQ("New name", form.PromptLabel->text());
            EXPECT_EQ("old", form.ValueEdit->text());
            form.ValueEdit->setText("new");
        });
        script.Expect("Rename", mrCancel, [](const TModalRequest& request) {
            dynamic_cast<TInputQueryForm&>(*request.Dialog).ValueEdit->setText("dropped");
        });
        EXPECT_TRUE(InputQuery("Rename", "New name", 255, value));
        EXPECT_EQ("new", value);
        EXPECT_FALSE(InputQuery("Rename", "New name", 255, value));
    }
    EXPECT_EQ("new", value);
}

} // namespace
