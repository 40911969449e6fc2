#include "tools/PasswordGeneratorForm.h"

#include "core/files/FileInfo.h"
#include "core/forms/ModalSeam.h"
#include "core/settings/StoredTextList.h"

#include "host/FaultInjection.h"
#include "host/LastError.h"

#include "support/ShownFailures.h"
#include "support/TestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

#include <functional>
#include <regex>
#include <set>
#include <string>

namespace {

using testing::HasSubstr;

const std::string AbcHash = "A9993E364706816ABA3E25717850C26C9CD0D89D";

class PasswordGeneratorFormTest : public testing::Test
{
protected:
    ~PasswordGeneratorFormTest() override { host::ClearFaults(); }

    // Opens the dialog on the path; `act` drives it while it is shown. The dialog's
    // result, and the edit box's text as `act` left it.
    int Show(const std::string& path, const std::function<void()>& act)
    {
        int result = -1;
        Script.Expect(path.empty() ? "Password generator" : "Hash file", TPasswordGeneratorForm::mrCancel,
                      [&](const TModalRequest&) {
                          act();
                          result = Form.result();
                          Left = Text();
                      });
        Form.Dialog(path);
        return result;
    }
    void SetText(const std::string& text) { Form.PasswordEdit->setText(QString::fromStdString(text)); }
    std::string Text() const { return Form.PasswordEdit->text().toStdString(); }
    // The next box, answered, its text kept.
    void ExpectBox(const std::string& caption)
    {
        Script.Expect(caption, IDOK, [this](const TModalRequest& box) { Boxes.push_back(box.Text); });
    }

    TTempDrive Drive{'T'};
    TModalScript Script;
    TPasswordGeneratorForm Form;
    std::string Left;
    std::vector<std::string> Boxes;
};

TEST_F(PasswordGeneratorFormTest, HashIteratesSha1OverTheTextsUtf8Bytes)
{
    struct Case
    {
        const char* Text;
        const char* Iterations;
        const char* Hash;
    };
    const Case cases[] = {
        {"abc", "1", "A9993E364706816ABA3E25717850C26C9CD0D89D"},
        {"abc", "10", "94EBC0D3C81B61EB98670666F5FDE68560C4E165"},
        // The UTF-8 bytes C3 A9.
        {"\u00E9", "1", "BF15BE717AC1B080B4F1C456692825891FF5073D"},
    };
    Form.HashIterationsComboBox->setCurrentText("1");
    Show("", [&] {
        for (const Case& c : cases) {
            SetText(c.Text);
            Form.HashIterationsComboBox->setCurrentText(c.Iterations);
            Form.GenerateHashButton->click();
            EXPECT_EQ(c.Hash, Text()) << c.Text << " " << c.Iterations;
            EXPECT_TRUE(Form.GenerateHashButton->isEnabled());
        }
    });
}

TEST_F(PasswordGeneratorFormTest, AnEmptyTextIsNotHashed)
{
    Show("", [&] {
        ExpectBox("Warning");
        Form.GenerateHashButton->click();
    });
    EXPECT_EQ(std::vector<std::string>{"There is no text to hash."}, Boxes);
    EXPECT_EQ("", Left);
}

TEST_F(PasswordGeneratorFormTest, GeneratorsGiveFreshUpperCaseHexadecimalPasswords)
{
    Show("", [&] {
        for (const auto& [button, length] : {std::pair{Form.Generate10Button, 10}, std::pair{Form.Generate20Button, 20},
                                             std::pair{Form.Generate40Button, 40}}) {
            std::set<std::string> seen;
            for (int press = 0; press < 2; ++press) {
                button->click();
                EXPECT_TRUE(std::regex_match(Text(), std::regex("[0-9A-F]{" + std::to_string(length) + "}"))) << Text();
                seen.insert(Text());
            }
            EXPECT_EQ(2u, seen.size());
        }
    });
}

TEST_F(PasswordGeneratorFormTest, ReopeningShowsAnEmptyBox)
{
    Show("", [&] { Form.Generate10Button->click(); });
    EXPECT_EQ(10u, Left.size());
    EXPECT_EQ("", Text());
    Show("", [&] {});
    EXPECT_EQ("", Left);
}

TEST_F(PasswordGeneratorFormTest, FileModeComparesThePastedHashExactly)
{
    Drive.WriteFile("abc.txt", "abc");
    struct Case
    {
        std::string Pasted;
        const char* Box;
        std::string After;
    };
    const Case cases[] = {
        {AbcHash, "The file hash is the same as the one from the edit-box.", AbcHash},
        {"", "The file hash is NOT the same as the one from the edit-box, so it has been put there.", AbcHash},
        {"a9993e364706816aba3e25717850c26c9cd0d89d",
         "The file hash is NOT the same as the one from the edit-box, so it has been put there.", AbcHash},
    };
    for (const Case& c : cases) {
        Boxes.clear();
        Show(Drive.Path("abc.txt"), [&] {
            EXPECT_EQ("File hash", Form.PasswordGroupBox->title().toStdString());
            EXPECT_FALSE(Form.Generate10Button->isEnabled());
            EXPECT_FALSE(Form.HashIterationsComboBox->isEnabled());
            SetText(c.Pasted);
            ExpectBox("Message");
            Form.GenerateHashButton->click();
            EXPECT_EQ("Hash file", Form.windowTitle().toStdString());
        });
        EXPECT_EQ(std::vector<std::string>{c.Box}, Boxes) << c.Pasted;
        EXPECT_EQ(c.After, Left);
    }
    Show("", [&] { EXPECT_TRUE(Form.Generate10Button->isEnabled()); });
}

// "&Cancel" pressed while the file is hashed takes effect at the next block.
TEST_F(PasswordGeneratorFormTest, CancelDuringTheHashFailsItAndClosesTheDialog)
{
    Drive.WriteFile("big.bin", std::string(3000000, 'x'));
    TShownFailures failures;
    std::string caption;
    const int result = Show(Drive.Path("big.bin"), [&] {
        SetText("pasted");
        failures.Expect(Script, "Error");
        // Events run before each block's caption: the second turn sees the first block's.
        int turns = 0;
        std::function<void()> turn = [&] {
            if (++turns == 1)
                return void(QMetaObject::invokeMethod(&Form, turn, Qt::QueuedConnection));
            caption = Form.windowTitle().toStdString();
            EXPECT_FALSE(Form.GenerateHashButton->isEnabled());
            Form.CancelButton->click();
        };
        QMetaObject::invokeMethod(&Form, turn, Qt::QueuedConnection);
        Form.GenerateHashButton->click();
    });
    EXPECT_EQ(TPasswordGeneratorForm::mrCancel, result);
    EXPECT_EQ("File hashing progress " + GetSizeText(6, 0, 1000000) + " bytes...", caption);
    ASSERT_EQ(1u, failures.Reports.size());
    EXPECT_THAT(failures.Reports[0], HasSubstr("Failed to generate file hash."));
    EXPECT_EQ("pasted", Left);
}

TEST_F(PasswordGeneratorFormTest, AnUnreadableFileLeavesTheBoxAsItWas)
{
    Drive.WriteFile("abc.txt", "abc");
    TShownFailures failures;
    Show(Drive.Path("abc.txt"), [&] {
        SetText("pasted");
        failures.Expect(Script, "Error");
        host::InjectFault(host::HostCall::Open, host::ERROR_ACCESS_DENIED);
        Form.GenerateHashButton->click();
    });
    ASSERT_EQ(1u, failures.Reports.size());
    EXPECT_THAT(failures.Reports[0], HasSubstr("Failed to generate file hash."));
    EXPECT_EQ("pasted", Left);
}

TEST_F(PasswordGeneratorFormTest, StoredListsThatAreNoItemSelectTheFirst)
{
    Drive.WriteFile("q.ini", "");
    TStoredTextList store(Drive.Path("q.ini"));
    ASSERT_TRUE(store.Load(0));
    EXPECT_EQ("10000", Form.HashIterationsComboBox->currentText().toStdString());
    Form.HashIterationsComboBox->setCurrentText("200000");
    Form.OnSaveOptionsSTL(store);
    TPasswordGeneratorForm loaded;
    loaded.OnLoadOptionsSTL(store);
    EXPECT_EQ("200000", loaded.HashIterationsComboBox->currentText().toStdString());

    store.WriteString("PasswordGenerator", "HashIterations", "3");
    store.WriteString("PasswordGenerator", "HashAlgorithm", "MD5");
    loaded.OnLoadOptionsSTL(store);
    EXPECT_EQ("1", loaded.HashIterationsComboBox->currentText().toStdString());
    EXPECT_EQ("SHA160", loaded.HashAlgorithmComboBox->currentText().toStdString());
}

} // namespace
