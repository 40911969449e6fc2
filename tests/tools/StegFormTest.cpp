#include "tools/StegForm.h"

#include "core/errors/Error.h"
#include "core/files/FileExtensions.h"
#include "core/files/KnownFolders.h"
#include "core/files/PathNames.h"
#include "core/forms/MessageBoxes.h"
#include "core/settings/StoredTextList.h"
#include "core/text/FormatSettings.h"

#include "host/Drives.h"
#include "host/FaultInjection.h"
#include "host/FileSystem.h"
#include "host/LastError.h"

#include "support/PictureFixtures.h"
#include "support/ShownFailures.h"
#include "support/TestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <vector>

namespace fs = std::filesystem;
using testing::HasSubstr;

namespace {

// Opaque pixels of random colours: almost every pixel carries a bit.
QImage NoisyPicture(int width, int height, uint32_t seed)
{
    std::mt19937 random(seed);
    QImage picture(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, 0xFF000000 | (random() & 0xFFFFFF));
    return picture;
}

std::string RandomText(size_t size, uint32_t seed)
{
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(random());
    return bytes;
}

// The pixels of a picture file as the steg reads them.
class TPictureWords
{
public:
    explicit TPictureWords(const std::string& hostPath)
        : Image(QImage(QString::fromStdString(hostPath)).convertToFormat(QImage::Format_ARGB32))
    {
    }
    TStegPixels Pixels()
    {
        return {reinterpret_cast<uint32_t*>(Image.bits()), Image.bytesPerLine() / 4, Image.width(), Image.height()};
    }
    int64_t Capacity()
    {
        const TStegPixels pixels = Pixels();
        int64_t usable = 0;
        for (int64_t x = 0; x < pixels.Width; ++x)
            for (int64_t y = 0; y < pixels.Height; ++y)
                if (TStegForm::IsUsablePixel(pixels, x, y, usable) >= 0)
                    ++usable;
        return TStegForm::GetCapacity(usable);
    }
    int Integrity() { return TStegForm::GetIntegrity(Pixels()); }

private:
    QImage Image;
};

std::string IntegrityOf(const TTempDrive& drive, const std::string& name)
{
    return "Integrity: \"" + std::to_string(TPictureWords(drive.HostPath(name)).Integrity()) + "\"";
}

std::string ReadHostFile(const std::string& hostPath)
{
    std::ifstream file(hostPath, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

size_t FileCount(const fs::path& folder)
{
    return static_cast<size_t>(std::distance(fs::directory_iterator(folder), {}));
}

class StegForm : public testing::Test
{
protected:
    StegForm() : Separator(FormatSettings.ThousandSeparator)
    {
        FormatSettings.ThousandSeparator = ",";
        Form.UserKeyIterationsComboBox->setCurrentText("100");
        SetPasswords("s\xC3\xA9same", "s\xC3\xA9same");
        fs::create_directories(Drive.HostPath("out"));
    }

    void SetPasswords(const char* password, const char* confirm)
    {
        Form.PasswordEdit->setText(QString::fromUtf8(password));
        Form.ConfirmPasswordEdit->setText(QString::fromUtf8(confirm));
    }

    std::string Carrier(const std::string& name, uint32_t seed = 1, int size = 80)
    {
        return SavePicture(Drive, name, NoisyPicture(size, size, seed));
    }

    // Steg-in of a file as "&Steg-in" runs it; the report shown. A PNG carrier is written
    // over after the question.
    std::string StegIn(const std::string& source, const std::string& carrier)
    {
        std::string report;
        TModalScript script;
        if (TStegForm::IsPngExtension(GetExtension(carrier)))
            script.Expect("Query", IDYES);
        script.Expect("Message", IDOK, [&](const TModalRequest& request) { report = request.Text; });
        Form.InPath = source;
        Form.OutPath = carrier;
        Form.StegIn(-1, nullptr);
        return report;
    }

    // Steg-out of the picture into the folder "out".
    bool StegOut(const std::string& picture, bool decrypt = true)
    {
        Form.InPath = picture;
        Form.OutPath = Drive.Path("out\\");
        return Form.StegOut(decrypt, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, false, 0);
    }

    // The failure that one call shows, as the report reads; the call may first ask to
    // write over its PNG.
    std::string ShownFailure(const std::function<void()>& call, bool overwriteQuestion = false)
    {
        TShownFailures failures;
        {
            TModalScript script;
            if (overwriteQuestion)
                script.Expect("Query", IDYES);
            failures.Expect(script, "Error");
            call();
        }
        return failures.Reports.empty() ? "" : failures.Reports[0];
    }

    // Turns automatic steg on with the current passwords.
    void ActivateAutoSteg() { Form.ActivateAutoStegSpeedButton->setChecked(true); }

    ~StegForm() override { FormatSettings.ThousandSeparator = Separator; }

    std::string Separator;
    TTempDrive Drive{'T'};
    TStegForm Form;
};

// ---- Round trips ----

TEST_F(StegForm, FilesOfEverySizeUpToTheCapacityComeBackByteForByte)
{
    Carrier("probe.png", 2);
    const int64_t capacity = TPictureWords(Drive.HostPath("probe.png")).Capacity();
    ASSERT_GT(capacity, TStegForm::DataOffset + 65);
    for (const int64_t size : {int64_t{0}, int64_t{1}, int64_t{64}, int64_t{65}, capacity - TStegForm::DataOffset}) {
        SCOPED_TRACE(size);
        const std::string content = RandomText(static_cast<size_t>(size), static_cast<uint32_t>(size));
        Drive.WriteFile("hidden.bin", content);
        const std::string carrier = Carrier("photo.png", 2);
        EXPECT_THAT(StegIn(Drive.Path("hidden.bin"), carrier), HasSubstr("Steg-in VERIFICATION okay."));
        EXPECT_TRUE(StegOut(carrier));
        EXPECT_EQ(content, Drive.ReadFile("out/hidden.bin"));
        fs::remove(Drive.HostPath("out/hidden.bin"));
    }
}

// The dialog runs the whole way: the report's six lines, then the steg-out of the PNG
// written beside the JPEG carrier, which stays as it was.
TEST_F(StegForm, TheDialogStegsAJpegIntoAPngBesideItAndReportsInFixedFormats)
{
    const std::string carrier = Carrier("photo.jpg", 3, 200);
    const std::string jpeg = Drive.ReadFile("photo.jpg");
    const std::string content = RandomText(1000, 4);
    Drive.WriteFile("notes.txt", content);
    Form.LoadPicture(carrier);
    Form.LockPixels();
    const int integrity = TStegForm::GetIntegrity(Form.LockedPixels());
    const int64_t capacity = TStegForm::GetCapacity(Form.CountUsablePixels());
    Form.ReleasePicture();
    ASSERT_GT(capacity, 1000);

    std::string report;
    {
        TModalScript script;
        script.Expect("Steg-in", TStegForm::mrOkay, [&](const TModalRequest&) { Form.OkayButton->click(); });
        script.Expect("Message", IDOK, [&](const TModalRequest& request) { report = request.Text; });
        Form.Dialog(Drive.Path("notes.txt"), carrier, true);
    }
    EXPECT_EQ(TStegForm::mrOkay, Form.result());
    EXPECT_EQ(jpeg, Drive.ReadFile("photo.jpg"));
    ASSERT_TRUE(Drive.Exists("photo.png"));
    const int64_t pngBytes = static_cast<int64_t>(fs::file_size(Drive.HostPath("photo.png")));
    const auto separated = [](int64_t n) {
        std::string digits = std::to_string(n);
        for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3)
            digits.insert(static_cast<size_t>(i), ",");
        return digits;
    };
    EXPECT_EQ("Source file has been stegged-in the carrier file.\n"
              "Integrity (four digits): \"" +
                  std::to_string(integrity) +
                  "\"\n"
                  "The storing space available is " +
                  separated(capacity * 8) + " bits (" + separated(capacity) +
                  " bytes).\n"
                  "The storing space required is 12,800 bits (1,600 bytes).\n"
                  "The maximum storing density is 1 bit of hidden data to " +
                  separated(pngBytes / capacity) +
                  " bits of resulted picture file.\n"
                  "\n"
                  "Steg-in VERIFICATION okay.",
              report);

    {
        TModalScript script;
        script.Expect("Steg-out", TStegForm::mrOkay, [&](const TModalRequest&) { Form.OkayButton->click(); });
        Form.Dialog(Drive.Path("photo.png"), Drive.Path("out\\"), false);
    }
    EXPECT_EQ(content, Drive.ReadFile("out/notes.txt"));
}

TEST_F(StegForm, AnExistingPngIsAskedAboutAndNoLeavesItByteForByte)
{
    const std::string carrier = Carrier("photo.bmp", 5);
    Carrier("photo.png", 6);
    const std::string before = Drive.ReadFile("photo.png");
    Drive.WriteFile("a.txt", "hidden");
    Form.InPath = Drive.Path("a.txt");
    Form.OutPath = carrier;
    {
        TModalScript script;
        script.Expect("Query", IDNO);
        Form.StegIn(-1, nullptr);
    }
    EXPECT_EQ(before, Drive.ReadFile("photo.png"));
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
}

TEST_F(StegForm, NoDecryptionWritesTheRightNameAndSizeWithTheContentStillEncrypted)
{
    const std::string content = RandomText(100, 7);
    Drive.WriteFile("secret.dat", content);
    const std::string carrier = Carrier("photo.png", 7);
    StegIn(Drive.Path("secret.dat"), carrier);
    Form.NoDecryptionSpeedButton->setChecked(true);
    {
        TModalScript script;
        script.Expect("Steg-out", TStegForm::mrOkay, [&](const TModalRequest&) { Form.OkayButton->click(); });
        Form.Dialog(carrier, Drive.Path("out\\"), false);
    }
    ASSERT_TRUE(Drive.Exists("out/secret.dat"));
    const std::string extracted = Drive.ReadFile("out/secret.dat");
    EXPECT_EQ(content.size(), extracted.size());
    EXPECT_NE(content, extracted);
}

TEST_F(StegForm, AnExistingFileInTheDestinationIsAskedAbout)
{
    Drive.WriteFile("a.txt", "new");
    Drive.WriteFile("out/a.txt", "old");
    const std::string carrier = Carrier("photo.png", 8);
    StegIn(Drive.Path("a.txt"), carrier);
    {
        TModalScript script;
        script.Expect("Query", IDNO);
        EXPECT_FALSE(StegOut(carrier));
    }
    EXPECT_EQ("old", Drive.ReadFile("out/a.txt"));
    {
        TModalScript script;
        script.Expect("Query", IDYES);
        EXPECT_TRUE(StegOut(carrier));
    }
    EXPECT_EQ("new", Drive.ReadFile("out/a.txt"));
}

// ---- Automatic steg ----

TEST_F(StegForm, TextHiddenAutomaticallyComesBackAsLines)
{
    const std::string carrier = Carrier("note.png", 9);
    ActivateAutoSteg();
    const std::string text = "first line\r\nsecond \xC3\xA9\r\n";
    {
        TModalScript script; // no question, no report
        Form.AutoStegIn(carrier, Drive.Path("diary.txt"), reinterpret_cast<const uint8_t*>(text.data()),
                        static_cast<int64_t>(text.size()));
    }
    ASSERT_EQ(fsPerfect, FunStatContext.Status) << FunStatContext.Description;

    std::string path = carrier;
    std::string title;
    bool isText = false;
    std::vector<std::string> lines;
    int64_t size = -1;
    EXPECT_TRUE(Form.AutoStegOut(path, title, isText, &lines, size));
    EXPECT_TRUE(isText);
    EXPECT_EQ((std::vector<std::string>{"first line", "second \xC3\xA9"}), lines);
    EXPECT_EQ("diary.txt", title);
    EXPECT_EQ(static_cast<int64_t>(text.size()), size);
    EXPECT_EQ(carrier, path);
}

TEST_F(StegForm, AHiddenPictureArrivesAsThePrivateAutoStegPicture)
{
    const std::vector<std::string> pictureExtensions = PictureFileExtensions.Entries();
    PictureFileExtensions.Assign({".png", ".bmp"});
    const std::string picture = PictureBytes(NoisyPicture(4, 4, 10), "png");
    Drive.WriteFile("small.png", picture);
    const std::string carrier = Carrier("carrier.png", 11);
    StegIn(Drive.Path("small.png"), carrier);
    ActivateAutoSteg();
    const std::string target = GetTempPathA() + "-Quillomber_AutoStegPicture.bmp";
    const std::string hostTarget = *host::WindowsToHost(target);
    Drive.WriteFile("someone-else.bmp", "kept");
    fs::remove(hostTarget);
    fs::create_symlink(Drive.HostPath("someone-else.bmp"), hostTarget);

    std::string path = carrier;
    std::string title;
    bool isText = true;
    std::vector<std::string> lines;
    int64_t size = 0;
    EXPECT_TRUE(Form.AutoStegOut(path, title, isText, &lines, size));
    EXPECT_FALSE(isText);
    EXPECT_EQ(target, path);
    EXPECT_EQ("small.png", title);
    EXPECT_EQ(picture, ReadHostFile(hostTarget));
    EXPECT_FALSE(fs::is_symlink(hostTarget));
    EXPECT_EQ("kept", Drive.ReadFile("someone-else.bmp"));
    EXPECT_EQ(fs::perms(0600), fs::status(hostTarget).permissions());
    PictureFileExtensions.Assign(pictureExtensions);
}

// In automatic mode a picture without anything for this password is a plain picture: no
// box, false, and the size 0.
TEST_F(StegForm, AutomaticStegOutOfNothingHiddenIsFalseWithoutABox)
{
    const std::string plain = Carrier("plain.png", 12);
    Drive.WriteFile("a.txt", "x");
    const std::string stegged = Carrier("stegged.png", 13);
    StegIn(Drive.Path("a.txt"), stegged);
    Drive.WriteFile("zero.txt", std::string("a\0b", 3));
    const std::string withZero = Carrier("zero.png", 14);
    StegIn(Drive.Path("zero.txt"), withZero);
    ActivateAutoSteg();

    TModalScript script; // any box fails the test
    std::string title;
    bool isText = false;
    std::vector<std::string> lines;
    int64_t size = 5;
    std::string path = plain;
    EXPECT_FALSE(Form.AutoStegOut(path, title, isText, &lines, size));
    EXPECT_EQ(0, size);
    SetPasswords("other", "other");
    path = stegged;
    size = 5;
    EXPECT_FALSE(Form.AutoStegOut(path, title, isText, &lines, size)) << "another password";
    EXPECT_EQ(0, size);
    SetPasswords("s\xC3\xA9same", "");
    path = withZero;
    EXPECT_FALSE(Form.AutoStegOut(path, title, isText, &lines, size)) << "text with a zero byte";
    fs::copy_file(Drive.HostPath("stegged.png"), Drive.HostPath("upper.PNG"));
    path = Drive.Path("upper.PNG");
    EXPECT_TRUE(Form.AutoStegOut(path, title, isText, &lines, size)) << "the confirmation is not asked";
    Form.ActivateAutoStegSpeedButton->setChecked(false);
    EXPECT_FALSE(Form.AutoStegOut(path, title, isText, &lines, size)) << "off";
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
}

// Automatic steg-out runs for every ".png" the viewer shows: a picture whose header gives
// more than 64 megapixels is taken as one without a hidden file and never decoded. Each
// picture here ends before its first row, so decoding it shows a failure.
TEST_F(StegForm, AutomaticStegOutDecodesNoPictureAboveItsBound)
{
    const struct
    {
        uint32_t Width;
        uint32_t Height;
        bool Decoded;
    } cases[] = {{100, 100, true}, {8192, 8192, true}, {8193, 8192, false}, {16000, 16000, false}};
    ActivateAutoSteg();
    for (const auto& item : cases) {
        SCOPED_TRACE(std::to_string(item.Width) + " x " + std::to_string(item.Height));
        Drive.WriteFile("claimed.png", PngClaiming(item.Width, item.Height));
        std::string path = Drive.Path("claimed.png");
        std::string title;
        bool isText = true;
        std::vector<std::string> lines;
        int64_t size = 5;
        const auto stegOut = [&] { EXPECT_FALSE(Form.AutoStegOut(path, title, isText, &lines, size)); };
        if (item.Decoded) {
            EXPECT_THAT(ShownFailure(stegOut), HasSubstr("Failed to load picture."));
            continue;
        }
        {
            TModalScript script; // any box fails the test
            stegOut();
        }
        EXPECT_EQ(fsPerfect, FunStatContext.Status);
        EXPECT_EQ(0, size);
        EXPECT_FALSE(isText);
        EXPECT_EQ(Drive.Path("claimed.png"), path);
        EXPECT_THAT(ShownFailure([&] { StegOut(Drive.Path("claimed.png")); }), HasSubstr("Failed to load picture."))
            << "an explicit steg-out decodes it";
    }
}

TEST_F(StegForm, AutomaticStegInRefusesWhatItCannotDo)
{
    const std::string carrier = Carrier("note.png", 15);
    const std::string original = Drive.ReadFile("note.png");
    const std::string text = "t";
    const auto stegIn = [&](const std::string& to) {
        Form.AutoStegIn(to, Drive.Path("a.txt"), reinterpret_cast<const uint8_t*>(text.data()), 1);
        return FunStatContext.Description;
    };
    EXPECT_EQ("Failed to auto steg-in because the function is not active.", stegIn(carrier));
    ActivateAutoSteg();
    EXPECT_EQ("Failed to auto steg-in because the carrier file is invalid.", stegIn(Drive.Path("note.jpg")));
    Form.InPath.clear();
    Form.OutPath.clear();
    Form.AutoStegIn(carrier, Drive.Path("a.bin"), reinterpret_cast<const uint8_t*>(text.data()), 1);
    EXPECT_EQ("Failed to auto steg-in because the source is not text.", FunStatContext.Description);

    SetPasswords("one", "two");
    {
        TModalScript script;
        script.Expect("Warning", IDOK);
        script.Expect("Confirm password", TStegForm::mrCancel,
                      [&](const TModalRequest&) { EXPECT_EQ("C&onfirm", Form.OkayButton->text().toStdString()); });
        EXPECT_EQ("Failed to auto steg-in because the password is empty or not confirmed.", stegIn(carrier));
        EXPECT_EQ("The password is empty or not confirmed.", script.Seen().at(0).Text);
    }
    EXPECT_EQ(original, Drive.ReadFile("note.png"));

    // Confirmed in the password dialog, the text goes in; empty text asks first.
    {
        TModalScript script;
        script.Expect("Warning", IDOK);
        script.Expect("Confirm password", TStegForm::mrCancel,
                      [&](const TModalRequest&) { Form.ConfirmPasswordEdit->setText("one"); });
        script.Expect("Query", IDNO);
        Form.AutoStegIn(carrier, Drive.Path("a.txt"), nullptr, 0);
    }
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_EQ(original, Drive.ReadFile("note.png"));
}

TEST_F(StegForm, TitlesUpTo255BytesGoInAndLongerOnesAreRefused)
{
    const std::string carrier = Carrier("note.png", 16);
    ActivateAutoSteg();
    const std::string text = "t";
    const std::string longest = std::string(251, 'n') + ".txt";
    Form.AutoStegIn(carrier, Drive.Path(longest), reinterpret_cast<const uint8_t*>(text.data()), 1);
    ASSERT_EQ(fsPerfect, FunStatContext.Status) << FunStatContext.Description;
    std::string path = carrier;
    std::string title;
    bool isText = false;
    std::vector<std::string> lines;
    int64_t size = 0;
    EXPECT_TRUE(Form.AutoStegOut(path, title, isText, &lines, size));
    EXPECT_EQ(longest, title);

    // "é" takes one byte as stored, so 255 of them fit; a character outside
    // Windows-1252 makes the title UTF-8.
    const std::string accented = std::string(249, 'n') + "\xC3\xA9\xC3\xA9.txt";
    Form.AutoStegIn(carrier, Drive.Path(accented), reinterpret_cast<const uint8_t*>(text.data()), 1);
    ASSERT_EQ(fsPerfect, FunStatContext.Status) << FunStatContext.Description;
    EXPECT_TRUE(Form.AutoStegOut(path, title, isText, &lines, size));
    EXPECT_EQ(accented, title) << "Windows-1252 bytes read back as such";

    const std::string tooLong = std::string(252, 'n') + ".txt";
    Form.AutoStegIn(carrier, Drive.Path(tooLong), reinterpret_cast<const uint8_t*>(text.data()), 1);
    EXPECT_EQ("File name too long.", FunStatContext.Description);
    EXPECT_EQ("256", FunStatContext.Parameter2);
    const std::string greek = std::string(250, 'n') + "\xCE\xB1.txt";
    Form.AutoStegIn(carrier, Drive.Path(greek), reinterpret_cast<const uint8_t*>(text.data()), 1);
    EXPECT_EQ("File name too long.", FunStatContext.Description) << "alpha takes two bytes in UTF-8";
}

// ---- Failures ----

TEST_F(StegForm, ACarrierTooSmallGivesTheSpaceInBothUnits)
{
    const std::string carrier = Carrier("small.png", 17, 30);
    ASSERT_EQ(64, TPictureWords(Drive.HostPath("small.png")).Capacity());
    Drive.WriteFile("a.txt", std::string(100, 'a'));
    const std::string report = ShownFailure([&] {
        Form.InPath = Drive.Path("a.txt");
        Form.OutPath = carrier;
        Form.StegIn(-1, nullptr);
    });
    EXPECT_THAT(report, HasSubstr("Failed to stegg-in file."));
    EXPECT_THAT(report, HasSubstr("The carrier file must be bigger! The storing space available is 512 bits (64 "
                                  "bytes). The storing space required is 5,632 bits (704 bytes)."));
}

TEST_F(StegForm, BadSourcesAndCarriersFailOnceAndWriteNothing)
{
    const std::string png = PictureBytes(NoisyPicture(80, 80, 18), "png");
    Drive.WriteFile("truncated.png", png.substr(0, png.size() / 2));
    Drive.WriteFile("text.png", "no picture");
    Drive.WriteFile("big.bin", std::string(1000001, 'b'));
    Drive.WriteFile("a.txt", "a");
    const std::string carrier = Carrier("photo.jpg", 18);
    const struct
    {
        const char* Name;
        std::string Source;
        std::string Carrier;
        const char* Cause;
    } cases[] = {
        {"a truncated carrier", Drive.Path("a.txt"), Drive.Path("truncated.png"), "Failed to load picture."},
        {"a carrier that is no picture", Drive.Path("a.txt"), Drive.Path("text.png"), "Failed to load picture."},
        {"a source too large", Drive.Path("big.bin"), carrier, "Invalid file size."},
        {"a source that is gone", Drive.Path("gone.txt"), carrier, "Failed to access file."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const size_t files = FileCount(Drive.HostPath());
        const std::string report = ShownFailure([&] {
            Form.InPath = c.Source;
            Form.OutPath = c.Carrier;
            Form.StegIn(-1, nullptr);
        });
        EXPECT_THAT(report, HasSubstr("Failed to stegg-in file."));
        EXPECT_THAT(report, HasSubstr(c.Cause));
        EXPECT_EQ(files, FileCount(Drive.HostPath()));
    }
    Form.InPath = Drive.Path("big.bin");
    Form.OutPath = carrier;
    Form.StegIn(static_cast<int64_t>(1000001), nullptr);
    EXPECT_EQ("Failed to auto steg-in because the source is not text.", FunStatContext.Description);
    Form.InPath = Drive.Path("big.txt");
    Form.StegIn(1000001, nullptr);
    EXPECT_EQ("Invalid file size.", FunStatContext.Description);
    EXPECT_EQ("1000001", FunStatContext.Parameter1);
    EXPECT_EQ("Maximum 1000000", FunStatContext.Parameter2);
}

TEST_F(StegForm, FaultsOnTheSourceAndTheSaveLeaveNothingHalfWritten)
{
    Drive.WriteFile("a.txt", "hidden");
    const std::string carrier = Carrier("photo.png", 19);
    const std::string original = Drive.ReadFile("photo.png");

    host::InjectFault(host::HostCall::Open, host::ERROR_ACCESS_DENIED);
    std::string report = ShownFailure([&] {
        Form.InPath = Drive.Path("a.txt");
        Form.OutPath = carrier;
        Form.StegIn(-1, nullptr);
    });
    EXPECT_THAT(report, HasSubstr("Failed to stegg-in file."));
    EXPECT_THAT(report, HasSubstr(Drive.Path("a.txt")));
    EXPECT_EQ(original, Drive.ReadFile("photo.png"));

    host::InjectFault(host::HostCall::Write, host::ERROR_DISK_FULL);
    report = ShownFailure(
        [&] {
            Form.InPath = Drive.Path("a.txt");
            Form.OutPath = carrier;
            Form.StegIn(-1, nullptr);
        },
        true);
    EXPECT_THAT(report, HasSubstr("Failed to save picture."));
    EXPECT_EQ(original, Drive.ReadFile("photo.png"));
    EXPECT_EQ(3u, FileCount(Drive.HostPath())) << "a.txt, photo.png and out";
}

TEST_F(StegForm, AnotherPasswordIterationCountOrABit1EditFailsWithTheIntegrityNumber)
{
    Drive.WriteFile("a.txt", "hidden");
    const std::string carrier = Carrier("photo.png", 20);
    const std::string report = StegIn(Drive.Path("a.txt"), carrier);
    const std::string number = std::to_string(TPictureWords(Drive.HostPath("photo.png")).Integrity());
    EXPECT_THAT(report, HasSubstr("Integrity (four digits): \"" + number + "\""));
    const std::string integrity = "Integrity: \"" + number + "\"";

    const auto failure = [&] { return ShownFailure([&] { StegOut(carrier); }); };
    SetPasswords("s\xC3\xA9samE", "");
    std::string shown = failure();
    EXPECT_THAT(shown, HasSubstr("Failed to stegg-out file."));
    EXPECT_THAT(shown, HasSubstr("Failed to decrypt."));
    EXPECT_THAT(shown, HasSubstr(integrity));

    SetPasswords("s\xC3\xA9same", "");
    Form.UserKeyIterationsComboBox->setCurrentText("1000");
    shown = failure();
    EXPECT_THAT(shown, HasSubstr("Failed to decrypt."));
    EXPECT_THAT(shown, HasSubstr(integrity));

    Form.UserKeyIterationsComboBox->setCurrentText("100");
    QImage edited(QString::fromStdString(Drive.HostPath("photo.png")));
    edited.setPixel(40, 40, edited.pixel(40, 40) ^ 0x000002);
    ASSERT_TRUE(edited.save(QString::fromStdString(Drive.HostPath("photo.png"))));
    shown = failure();
    EXPECT_THAT(shown, HasSubstr("Failed to decrypt."));
    EXPECT_THAT(shown, HasSubstr(IntegrityOf(Drive, "photo.png")));
    EXPECT_EQ(0u, FileCount(Drive.HostPath("out")));
}

// Pictures that the program never writes, built with the cipher's own functions: the
// hash checks, but the header does not.
TEST_F(StegForm, AHeaderThatFailsTheFullCheckWritesNothing)
{
    const struct
    {
        const char* Name;
        std::string Title;
        int64_t SizeBeyondCapacity;
    } cases[] = {
        {"a size past the buffer", "a.txt", 1},
        {"the title \"..\"", "..", -1000},
        {"a control byte in the title", "a\x07.txt", -1000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const std::string carrier = Carrier("built.png", 21);
        Form.LoadPicture(carrier);
        Form.LockPixels();
        const int64_t capacity = TStegForm::GetCapacity(Form.CountUsablePixels());
        const std::string random = RandomText(static_cast<size_t>(capacity), 22);
        std::vector<uint8_t> buffer(random.begin(), random.end());
        const int64_t size = std::max<int64_t>(capacity - TStegForm::DataOffset + c.SizeBeyondCapacity, 0);
        TStegForm::PutHeader(buffer.data(), c.Title, static_cast<int32_t>(size));
        const TStegBuffer password = TStegForm::EncodeStegText("s\xC3\xA9same");
        TStegState a;
        TStegState b;
        TStegForm::MakeKeyStates(TStegForm::MakePictureKey(TStegForm::MakePasswordKey(password.Text(),
                                                                                      TStegState::Load(buffer.data())),
                                                           Form.LockedPixels()),
                                 100, a, b);
        TStegForm::EncryptBuffer(buffer.data() + TStegForm::BlockBytes, capacity / TStegForm::BlockBytes - 1, a, b);
        Form.EmbedBuffer(buffer.data(), capacity);
        Form.UnlockPixels();
        ASSERT_EQ(carrier, Form.SavePicture(carrier, false, false, false));
        Form.ReleasePicture();

        const std::string shown = ShownFailure([&] { StegOut(carrier); });
        EXPECT_THAT(shown, HasSubstr("Failed to decrypt (though signature checked the first time)."));
        EXPECT_THAT(shown, HasSubstr(IntegrityOf(Drive, "built.png")));
        EXPECT_EQ(0u, FileCount(Drive.HostPath("out")));
    }
}

TEST_F(StegForm, AMemoryBufferOfAnotherSizeReceivesNothing)
{
    Drive.WriteFile("a.txt", "hidden");
    const std::string carrier = Carrier("photo.png", 23);
    StegIn(Drive.Path("a.txt"), carrier);
    const int64_t capacity = TPictureWords(Drive.HostPath("photo.png")).Capacity();
    std::vector<uint8_t> buffer(static_cast<size_t>(capacity) + 64, 0xAA);
    Form.InPath = carrier;
    Form.OutPath.clear();
    EXPECT_FALSE(Form.StegOut(true, buffer.data(), nullptr, nullptr, nullptr, nullptr, nullptr, false, capacity + 64));
    EXPECT_EQ(std::vector<uint8_t>(buffer.size(), 0xAA), buffer);
    EXPECT_TRUE(Form.StegOut(true, buffer.data(), nullptr, nullptr, nullptr, nullptr, nullptr, false, capacity));
    EXPECT_EQ(6, TStegForm::GetStoredSize(buffer.data()));
    EXPECT_EQ("a.txt", TStegForm::GetStoredTitle(buffer.data()));
}

// ---- The dialog and its stored state ----

TEST_F(StegForm, EachModeHasItsCaptionsAndControls)
{
    const struct
    {
        const char* Caption;
        const char* Okay;
        bool Confirm;
        bool NoDecryption;
        std::function<void()> Open;
    } modes[] = {
        {"Steg-in", "&Steg-in", true, false, [&] { Form.Dialog("a", "b", true); }},
        {"Steg-out", "&Steg-out", false, true, [&] { Form.Dialog("a", "b", false); }},
        {"Auto steg", "&Okay", true, false, [&] { Form.Dialog(true); }},
        {"Confirm password", "C&onfirm", true, false, [&] { Form.Dialog(false); }},
    };
    for (const auto& mode : modes) {
        SCOPED_TRACE(mode.Caption);
        TModalScript script;
        script.Expect(mode.Caption, TStegForm::mrCancel, [&](const TModalRequest& request) {
            EXPECT_EQ(&Form, request.Dialog);
            EXPECT_EQ(mode.Okay, Form.OkayButton->text().toStdString());
            EXPECT_EQ(mode.Confirm, Form.ConfirmPasswordEdit->isEnabled());
            EXPECT_EQ(mode.NoDecryption, Form.NoDecryptionSpeedButton->isEnabled());
        });
        mode.Open();
    }
    EXPECT_TRUE(Form.ActivateAutoStegSpeedButton->isChecked()) << "the password dialog turns automatic steg on";
    EXPECT_EQ(-1, Form.AlgorithmIndex);
    EXPECT_EQ("", Form.InPath);
    EXPECT_EQ(QLineEdit::Password, Form.PasswordEdit->echoMode());
    EXPECT_EQ(QLineEdit::Password, Form.ConfirmPasswordEdit->echoMode());
    EXPECT_TRUE(Form.NoDecryptionSpeedButton->isCheckable());
    EXPECT_EQ("RVX3", Form.AlgorithmComboBox->itemText(0).toStdString());
    EXPECT_EQ(1, Form.AlgorithmComboBox->count());
    EXPECT_EQ(5, Form.UserKeyIterationsComboBox->count());
}

TEST_F(StegForm, OkayKeepsTheDialogOpenUntilThePasswordIsConfirmed)
{
    const struct
    {
        const char* Password;
        const char* Confirm;
        bool StegIn;
        const char* Warning;
    } cases[] = {
        {"", "", true, "The password is empty."},
        {"", "x", false, "The password is empty."},
        {"one", "One", true, "The password is not confirmed.\nType again the confirmation password."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Warning);
        SetPasswords(c.Password, c.Confirm);
        TModalScript script;
        script.Expect(c.StegIn ? "Steg-in" : "Steg-out", TStegForm::mrCancel, [&](const TModalRequest&) {
            Form.setResult(0);
            Form.OkayButton->click();
            EXPECT_EQ(0, Form.result()) << "still open";
        });
        script.Expect("Warning", IDOK);
        Form.Dialog(Drive.Path("a.txt"), Drive.Path("b.png"), c.StegIn);
        EXPECT_EQ(c.Warning, script.Seen().at(1).Text);
    }

    // The password dialog's Okay only closes it, keeping what was typed.
    SetPasswords("one", "two");
    TModalScript script;
    script.Expect("Auto steg", TStegForm::mrCancel, [&](const TModalRequest&) { Form.OkayButton->click(); });
    Form.Dialog(true);
    EXPECT_EQ(TStegForm::mrCancel, Form.result());
    EXPECT_EQ("two", Form.ConfirmPasswordEdit->text().toStdString());
    EXPECT_TRUE(Form.IsAutoStegActive());
}

TEST_F(StegForm, TheHelpButtonSaysThereIsNoHelp)
{
    TModalScript script;
    script.Expect("Message", IDOK);
    Form.HelpButton->click();
    EXPECT_EQ("Help is not available.", script.Seen().at(0).Text);
}

TEST_F(StegForm, TheStegSectionRoundTripsAndAValueThatIsNoItemSelectsTheFirst)
{
    Drive.WriteFile("q.ini", "");
    TStoredTextList store(Drive.Path("q.ini"));
    ASSERT_TRUE(store.Load(0));
    Form.UserKeyIterationsComboBox->setCurrentText("100000");
    Form.OnSaveOptionsSTL(store);
    const auto stored = [&](const char* key) {
        std::string value;
        store.ReadString("Steg", key, 100, value, true);
        return value;
    };
    EXPECT_EQ("RVX3", stored("Algorithm"));
    EXPECT_EQ("100000", stored("UserKeyIterations"));

    TStegForm loaded;
    loaded.OnLoadOptionsSTL(store);
    EXPECT_EQ("100000", loaded.UserKeyIterationsComboBox->currentText().toStdString());

    store.WriteString("Steg", "UserKeyIterations", "12345");
    store.WriteString("Steg", "Algorithm", "RVX9");
    loaded.OnLoadOptionsSTL(store);
    EXPECT_EQ("100", loaded.UserKeyIterationsComboBox->currentText().toStdString());
    EXPECT_EQ("RVX3", loaded.AlgorithmComboBox->currentText().toStdString());

    store.Clear();
    loaded.OnLoadOptionsSTL(store);
    EXPECT_EQ("1000", loaded.UserKeyIterationsComboBox->currentText().toStdString()) << "the default";
}

TEST(StegFormAlgorithm, OnlyTheNamesOfTheCipherFamilyHaveAnIndex)
{
    const std::pair<const char*, int> names[] = {{"RVX3", 3},  {"rvx3", 3}, {"RVX1", 1}, {"Rvx2", 2},
                                                 {"RVX4", -1}, {"", -1},    {"RVX", -1}};
    for (const auto& [name, index] : names)
        EXPECT_EQ(index, TStegForm::GetAlgorithmIndex(name)) << name;
}

TEST(StegFormLifetime, TheEditsAreOverwrittenAndEmptiedWhenTheFormGoes)
{
    std::vector<QString> password;
    std::vector<QString> confirm;
    {
        auto form = std::make_unique<TStegForm>();
        form->PasswordEdit->setText("abc");
        form->ConfirmPasswordEdit->setText("abcd");
        EXPECT_EQ(form.get(), &TSeam<TStegServices>::Get()) << "installed while it lives";
        QObject::connect(form->PasswordEdit, &QLineEdit::textChanged,
                         [&](const QString& text) { password.push_back(text); });
        QObject::connect(form->ConfirmPasswordEdit, &QLineEdit::textChanged,
                         [&](const QString& text) { confirm.push_back(text); });
    }
    EXPECT_EQ((std::vector<QString>{QString(3, QChar(0xFF)), QString()}), password);
    EXPECT_EQ((std::vector<QString>{QString(4, QChar(0xFF)), QString()}), confirm);

    TStegServices& standIn = TSeam<TStegServices>::Get();
    EXPECT_FALSE(standIn.IsAutoStegActive());
    standIn.AutoStegIn("T:\\a.png", "a.txt", nullptr, 0);
    EXPECT_EQ("Failed to auto steg-in because the function is not active.", FunStatContext.Description);
}

} // namespace
