#include "tools/StegForm.h"

#include "core/errors/Error.h"
#include "core/files/KnownFolders.h"
#include "core/forms/MessageBoxes.h"

#include "host/Drives.h"
#include "host/FaultInjection.h"
#include "host/FileSystem.h"
#include "host/LastError.h"
#include "host/PictureFiles.h"

#include "support/PictureFixtures.h"
#include "support/ShownFailures.h"
#include "support/TestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QColorSpace>
#include <QImageReader>

#include <filesystem>
#include <random>
#include <vector>

namespace fs = std::filesystem;
using testing::HasSubstr;

namespace {

using TBytes = std::vector<uint8_t>;

// Opaque pixels of random colours: almost every pixel carries a bit.
QImage NoisyPicture(int width, int height, uint32_t seed, uint32_t alpha = 0xFF)
{
    std::mt19937 random(seed);
    QImage picture(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, (alpha << 24) | (random() & 0xFFFFFF));
    return picture;
}

QImage GreyPicture(int width, int height)
{
    QImage picture(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, qRgb((x * 7 + y) & 0xFF, (x * 7 + y) & 0xFF, (x * 7 + y) & 0xFF));
    return picture;
}

TBytes RandomBytes(size_t size, uint32_t seed)
{
    std::mt19937 random(seed);
    TBytes bytes(size);
    for (uint8_t& byte : bytes)
        byte = static_cast<uint8_t>(random());
    return bytes;
}

std::vector<uint32_t> WordsOf(const TStegPixels& picture)
{
    std::vector<uint32_t> words;
    for (int64_t y = 0; y < picture.Height; ++y)
        for (int64_t x = 0; x < picture.Width; ++x)
            words.push_back(picture.At(x, y));
    return words;
}

TStegPixels GridOf(std::vector<uint32_t>& words, int64_t width)
{
    return {words.data(), width, width, static_cast<int64_t>(words.size()) / width};
}

// Each usable pixel in scan order with its channel.
struct TUsable
{
    int64_t X;
    int64_t Y;
    int Channel;
    bool operator==(const TUsable&) const = default;
};

std::vector<TUsable> UsablePixelsOf(const TStegPixels& picture)
{
    std::vector<TUsable> usable;
    for (int64_t x = 0; x < picture.Width; ++x)
        for (int64_t y = 0; y < picture.Height; ++y) {
            const int channel = TStegForm::IsUsablePixel(picture, x, y, static_cast<int64_t>(usable.size()));
            if (channel >= 0)
                usable.push_back({x, y, channel});
        }
    return usable;
}

int BitOf(const TBytes& buffer, size_t k)
{
    return (buffer[k / 8] >> (k % 8)) & 1;
}

class StegCarrier : public testing::Test
{
protected:
    TTempDrive Drive{'T'};
    TStegForm Form;

    // Loads and locks the picture; its capacity in bytes.
    int64_t Open(const std::string& path)
    {
        Form.LoadPicture(path);
        EXPECT_EQ(fsPerfect, FunStatContext.Status) << FunStatContext.Description;
        Form.LockPixels();
        return TStegForm::GetCapacity(Form.CountUsablePixels());
    }

    TBytes Extract(const std::string& path)
    {
        TBytes buffer(static_cast<size_t>(Open(path)));
        Form.ExtractBuffer(buffer.data(), static_cast<int64_t>(buffer.size()));
        Form.ReleasePicture();
        return buffer;
    }

    // Hides random bytes filling the capacity and saves; the bytes hidden.
    TBytes Embed(const std::string& carrier, std::string& saved)
    {
        const TBytes buffer = RandomBytes(static_cast<size_t>(Open(carrier)), 1);
        Form.EmbedBuffer(buffer.data(), static_cast<int64_t>(buffer.size()));
        Form.UnlockPixels();
        saved = Form.SavePicture(carrier, false, true, false);
        Form.ReleasePicture();
        return buffer;
    }
};

TEST(StegCarrierTables, UsablePixels)
{
    // Three columns and rows of colours that differ in more than bit 0.
    const std::vector<uint32_t> base = {0xFF102030, 0xFF405060, 0xFF708090, 0xFFA0B0C0, 0xFFC0D0E4,
                                        0xFF0C1E2A, 0xFF3A5C7E, 0xFF6E80A2, 0xFF9CB4C8};
    const struct
    {
        const char* Name;
        int64_t X;
        int64_t Y;
        int64_t BitIndex;
        size_t Changed;
        uint32_t Value;
        int Expected;
    } cases[] = {
        {"all different, blue next", 0, 0, 0, 0, 0xFF102030, 0},
        {"all different, green next", 0, 0, 4, 0, 0xFF102030, 1},
        {"all different, red next", 1, 1, 5, 0, 0xFF102030, 2},
        {"grey after masking", 0, 0, 0, 0, 0xFF818080, -1},
        {"grey whatever its alpha", 0, 0, 0, 0, 0x00FEFFFE, -1},
        {"right neighbour equal but for bit 0", 0, 0, 0, 1, 0xFF112131, -1},
        {"lower neighbour equal but for bit 0", 0, 0, 0, 3, 0xFF102131, -1},
        {"lower-right neighbour equal but for alpha", 0, 0, 0, 4, 0x00102030, -1},
        {"an equal left neighbour does not count", 1, 0, 0, 0, 0xFF405060, 0},
        {"last column", 2, 0, 0, 0, 0xFF102030, -1},
        {"last row", 0, 2, 0, 0, 0xFF102030, -1},
    };
    for (const auto& c : cases) {
        std::vector<uint32_t> words = base;
        words[c.Changed] = c.Value;
        EXPECT_EQ(c.Expected, TStegForm::IsUsablePixel(GridOf(words, 3), c.X, c.Y, c.BitIndex)) << c.Name;
    }
}

TEST(StegCarrierTables, RequiredBitsAndCapacity)
{
    const std::pair<int64_t, int64_t> required[] = {{0, 4608}, {1, 5120}, {64, 5120}, {65, 5632}, {1000000, 8004608}};
    for (const auto& [size, bits] : required)
        EXPECT_EQ(bits, TStegForm::GetRequiredBits(size)) << size;
    const std::pair<int64_t, int64_t> capacity[] = {{0, 0}, {511, 0}, {512, 64}, {4607, 512}, {4608, 576}};
    for (const auto& [usable, bytes] : capacity)
        EXPECT_EQ(bytes, TStegForm::GetCapacity(usable)) << usable;
}

TEST_F(StegCarrier, BitKSitsInChannelKMod3OfTheKthUsablePixelColumnByColumn)
{
    const int64_t capacity = Open(SavePicture(Drive, "noisy.png", NoisyPicture(48, 24, 1)));
    ASSERT_EQ(128, capacity);
    std::vector<uint32_t> before = WordsOf(Form.LockedPixels());
    const std::vector<TUsable> usable = UsablePixelsOf(GridOf(before, 48));
    const TBytes buffer = RandomBytes(static_cast<size_t>(capacity), 2);

    Form.EmbedBuffer(buffer.data(), capacity);

    std::vector<uint32_t> after = WordsOf(Form.LockedPixels());
    std::vector<uint32_t> expected = before;
    for (size_t k = 0; k < static_cast<size_t>(capacity) * 8; ++k) {
        const TUsable& pixel = usable[k];
        EXPECT_EQ(static_cast<int>(k % 3), pixel.Channel);
        const uint32_t place = 1u << (8 * pixel.Channel);
        uint32_t& word = expected[static_cast<size_t>(pixel.X + pixel.Y * 48)];
        word = BitOf(buffer, k) ? word | place : word & ~place;
    }
    EXPECT_EQ(expected, after) << "only the carrying bits change, and the pixels after the capacity stay";
    EXPECT_EQ(usable, UsablePixelsOf(GridOf(after, 48)));
    EXPECT_EQ(TStegForm::GetIntegrity(GridOf(before, 48)), TStegForm::GetIntegrity(GridOf(after, 48)));

    TBytes extracted(static_cast<size_t>(capacity), 0xAA);
    Form.ExtractBuffer(extracted.data(), capacity);
    EXPECT_EQ(buffer, extracted);
}

TEST_F(StegCarrier, FlatGreyAndThinPicturesHaveNoCapacity)
{
    EXPECT_EQ(0, Open(SavePicture(Drive, "flat.png", SolidPicture(100, 100, QColor(200, 30, 90)))));
    EXPECT_EQ(0, Open(SavePicture(Drive, "grey.png", GreyPicture(100, 100))));
    EXPECT_EQ(0, Open(SavePicture(Drive, "thin.png", NoisyPicture(1, 5000, 3))));
    // 79 × 79 usable pixels less a few that match a neighbour: 12 blocks.
    EXPECT_EQ(768, Open(SavePicture(Drive, "enough.png", NoisyPicture(80, 80, 4))));
}

TEST_F(StegCarrier, PixelsLoadExactlyAndThoseOfAlphaZeroAsZero)
{
    QImage picture(3, 1, QImage::Format_ARGB32);
    picture.setPixel(0, 0, 0x00123456);
    picture.setPixel(1, 0, 0x80123457);
    picture.setPixel(2, 0, 0xFF123457);
    Form.LoadPicture(SavePicture(Drive, "alpha.png", picture));
    Form.LockPixels();
    EXPECT_EQ((std::vector<uint32_t>{0x00000000, 0x80123457, 0xFF123457}), WordsOf(Form.LockedPixels()));
}

// The JPEG's bytes with an Exif segment saying "turn a quarter to the right" after its start.
std::string JpegTurnedByExif(const QImage& picture)
{
    const std::string jpeg = PictureBytes(picture, "jpeg");
    // Exif header, a little-endian TIFF header and one entry: orientation (0x0112), a short, 6.
    const std::string exif("Exif\0\0II*\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0\x06\0\0\0\0\0\0\0", 32);
    const size_t length = exif.size() + 2;
    const std::string segment =
        std::string("\xFF\xE1") + static_cast<char>(length >> 8) + static_cast<char>(length & 0xFF);
    return jpeg.substr(0, 2) + segment + exif + jpeg.substr(2);
}

TEST_F(StegCarrier, AnOrientationTheFileRecordsIsNotApplied)
{
    Drive.WriteFile("turned.jpg", JpegTurnedByExif(NoisyPicture(40, 20, 16)));
    QImageReader turning(QString::fromStdString(Drive.HostPath("turned.jpg")));
    turning.setAutoTransform(true);
    ASSERT_EQ(QSize(20, 40), turning.read().size()) << "the file records a turn";
    Form.LoadPicture(Drive.Path("turned.jpg"));
    Form.LockPixels();
    EXPECT_EQ(40, Form.LockedPixels().Width);
    EXPECT_EQ(20, Form.LockedPixels().Height);
}

TEST_F(StegCarrier, ASemiTransparentCarrierRoundTrips)
{
    QImage picture = NoisyPicture(80, 80, 5);
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 80; ++x)
            picture.setPixel(x, y,
                             (picture.pixel(x, y) & 0xFFFFFF) | static_cast<uint32_t>(1 + (x * 3 + y) % 255) << 24);
    const std::string carrier = SavePicture(Drive, "glass.png", picture);
    std::string saved;
    const TBytes hidden = Embed(carrier, saved);
    EXPECT_EQ(carrier, saved);
    EXPECT_EQ(hidden, Extract(saved));
    Form.LoadPicture(saved);
    Form.LockPixels();
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 80; ++x)
            EXPECT_EQ(static_cast<uint32_t>(picture.pixel(x, y)) >> 24, Form.LockedPixels().At(x, y) >> 24);
}

// The decoders deliver opaque, paletted and grey pictures in narrower forms that are
// widened in place; the carrier file's text and colour space stay out of what is written.
TEST_F(StegCarrier, EveryStoredFormLoadsExactlyAndTheSavedPictureHoldsOnlyPixels)
{
    const QImage noisy = NoisyPicture(40, 30, 17);
    for (const QImage::Format format : {QImage::Format_RGB888, QImage::Format_Indexed8, QImage::Format_Grayscale8}) {
        SCOPED_TRACE(static_cast<int>(format));
        QImage picture = noisy.convertToFormat(format);
        picture.setText("Comment", "from the carrier");
        if (format != QImage::Format_Grayscale8)
            picture.setColorSpace(QColorSpace(QColorSpace::AdobeRgb));
        const std::string carrier = SavePicture(Drive, "carrier.png", picture);
        Form.LoadPicture(carrier);
        Form.LockPixels();
        const QImage expected = picture.convertToFormat(QImage::Format_ARGB32);
        const TStegPixels loaded = Form.LockedPixels();
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x)
                ASSERT_EQ(expected.pixel(x, y), loaded.At(x, y)) << x << ", " << y;
        Form.UnlockPixels();
        EXPECT_EQ(carrier, Form.SavePicture(carrier, false, false, false));
        Form.ReleasePicture();
        QImageReader reader(QString::fromStdString(Drive.HostPath("carrier.png")));
        const QImage written = reader.read();
        EXPECT_EQ("", written.text("Comment"));
        EXPECT_FALSE(written.colorSpace().isValid());
        ASSERT_EQ(expected.size(), written.size());
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x)
                ASSERT_EQ(expected.pixel(x, y), written.pixel(x, y)) << x << ", " << y;
    }
}

TEST_F(StegCarrier, JpegAndBmpCarriersGiveAPngBesideThemAndStayAsTheyWere)
{
    for (const char* name : {"photo.jpg", "photo.bmp"}) {
        const std::string carrier = SavePicture(Drive, name, NoisyPicture(80, 80, 6));
        const std::string original = Drive.ReadFile(name);
        std::string saved;
        const TBytes hidden = Embed(carrier, saved);
        EXPECT_EQ(Drive.Path("photo.png"), saved) << name;
        EXPECT_EQ(original, Drive.ReadFile(name));
        EXPECT_EQ(hidden, Extract(saved)) << name;
        fs::remove(Drive.HostPath("photo.png"));
    }
}

TEST_F(StegCarrier, APngCarrierInAnyLetterCaseIsWrittenOverUnderItsOwnName)
{
    const std::string carrier = SavePicture(Drive, "Photo.PNG", NoisyPicture(80, 80, 7));
    const std::string original = Drive.ReadFile("Photo.PNG");
    std::string saved;
    const TBytes hidden = Embed(carrier, saved);
    EXPECT_EQ(carrier, saved);
    EXPECT_NE(original, Drive.ReadFile("Photo.PNG"));
    EXPECT_FALSE(Drive.Exists("Photo.png"));
    EXPECT_EQ(hidden, Extract(carrier));
}

TEST_F(StegCarrier, AnExistingPngIsAskedAboutFirst)
{
    const std::string carrier = SavePicture(Drive, "photo.jpg", NoisyPicture(80, 80, 8));
    SavePicture(Drive, "photo.png", NoisyPicture(80, 80, 9));
    const std::string before = Drive.ReadFile("photo.png");
    const host::FileTime oldTime = host::FileTimeFromUnix(1400000000, 0);
    ASSERT_TRUE(host::SetLastWriteTime(Drive.Path("photo.png"), oldTime));
    Open(carrier);
    Form.UnlockPixels();
    {
        TModalScript script;
        script.Expect("Query", IDNO);
        EXPECT_EQ("", Form.SavePicture(carrier, false, true, true));
        EXPECT_EQ("File already exists. OVERWRITE it?", script.Seen().at(0).Text);
    }
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_EQ(before, Drive.ReadFile("photo.png")) << "No leaves it byte for byte";
    {
        TModalScript script;
        script.Expect("Query", IDYES);
        EXPECT_EQ(Drive.Path("photo.png"), Form.SavePicture(carrier, false, true, true));
    }
    EXPECT_NE(before, Drive.ReadFile("photo.png"));
    EXPECT_EQ(oldTime, host::GetFileData(Drive.Path("photo.png"))->LastWriteTime) << "Yes keeps its last-write time";

    EXPECT_EQ(Drive.Path("photo.png"), Form.SavePicture(carrier, false, false, false)) << "no question without ask";
    EXPECT_NE(oldTime, host::GetFileData(Drive.Path("photo.png"))->LastWriteTime);
}

TEST_F(StegCarrier, AFailedSaveLeavesTheCarrierAndNoPartialFile)
{
    const std::string carrier = SavePicture(Drive, "photo.png", NoisyPicture(80, 80, 10));
    const std::string original = Drive.ReadFile("photo.png");
    Open(carrier);
    Form.EmbedBuffer(RandomBytes(576, 11).data(), 576);
    Form.UnlockPixels();
    host::InjectFault(host::HostCall::Write, host::ERROR_DISK_FULL);
    EXPECT_EQ("", Form.SavePicture(carrier, false, true, false));
    EXPECT_EQ("Failed to save picture.", FunStatContext.Description);
    EXPECT_EQ(carrier, FunStatContext.Parameter1);
    EXPECT_EQ(host::ERROR_DISK_FULL, FunStatContext.SystemErrorCode);
    EXPECT_EQ(original, Drive.ReadFile("photo.png"));
    EXPECT_EQ(1, std::distance(fs::directory_iterator(Drive.HostPath()), {}));
}

// The decoders' own default refuses any picture above 128 MB; this one takes 144 MB.
TEST_F(StegCarrier, APictureAbove128MegabytesLoadsUnderTheProgramsLimit)
{
    QImage large(6000, 6000, QImage::Format_RGB888);
    large.fill(QColor(10, 200, 30));
    const std::string path = SavePicture(Drive, "large.png", large);
    large = QImage();
    host::SetPictureAllocationLimit();
    Form.LoadPicture(path);
    EXPECT_EQ(fsPerfect, FunStatContext.Status) << FunStatContext.Description;
    Form.LockPixels();
    EXPECT_EQ(6000, Form.LockedPixels().Height);
    EXPECT_EQ(0xFF0AC81Eu, Form.LockedPixels().At(5999, 5999));
}

TEST_F(StegCarrier, WhatIsNoWholePictureFailsToLoad)
{
    const std::string png = PictureBytes(NoisyPicture(80, 80, 12), "png");
    Drive.WriteFile("truncated.png", png.substr(0, png.size() / 2));
    Drive.WriteFile("text.png", "no picture at all");
    Drive.WriteFile("empty.png", "");
    for (const char* name : {"truncated.png", "text.png", "empty.png", "missing.png"}) {
        FunStatContext = TFunStatContext();
        Form.LoadPicture(Drive.Path(name));
        EXPECT_EQ(fsError, FunStatContext.Status) << name;
        EXPECT_EQ("Failed to load picture.", FunStatContext.Description) << name;
        EXPECT_EQ(Drive.Path(name), FunStatContext.Parameter1) << name;
        Form.LockPixels();
        EXPECT_EQ("Failed to lock bitmap.", FunStatContext.Description) << name;
    }
}

TEST_F(StegCarrier, TheNoisePictureIsThePrivateLowestBitPlaneIn24Bits)
{
    QImage picture(2, 2, QImage::Format_ARGB32);
    picture.setPixel(0, 0, 0xFF010203);
    picture.setPixel(1, 0, 0xFFFEFDFC);
    picture.setPixel(0, 1, 0x80FF01FF);
    picture.setPixel(1, 1, 0x00FFFFFF);
    const std::string noise = GetTempPathA() + "-Quillomber_StegNoisePicture.bmp";
    const std::string hostNoise = *host::WindowsToHost(noise);
    Drive.WriteFile("someone-else.bmp", "kept");
    fs::remove(hostNoise);
    fs::create_symlink(Drive.HostPath("someone-else.bmp"), hostNoise);

    EXPECT_EQ(noise, Form.ViewNoise(SavePicture(Drive, "odd.png", picture)));

    EXPECT_EQ("kept", Drive.ReadFile("someone-else.bmp")) << "never written through a link";
    EXPECT_FALSE(fs::is_symlink(hostNoise));
    EXPECT_EQ(fs::perms(0600), fs::status(hostNoise).permissions());
    const QImage written(QString::fromStdString(hostNoise));
    ASSERT_EQ(QSize(2, 2), written.size());
    EXPECT_EQ(24, written.bitPlaneCount());
    EXPECT_EQ(qRgb(0x80, 0, 0x80), written.pixel(0, 0));
    EXPECT_EQ(qRgb(0, 0x80, 0), written.pixel(1, 0));
    EXPECT_EQ(qRgb(0x80, 0x80, 0x80), written.pixel(0, 1));
    EXPECT_EQ(qRgb(0, 0, 0), written.pixel(1, 1)) << "alpha 0 loads as black";

    EXPECT_EQ(noise, Form.ViewNoise(SavePicture(Drive, "even.png", SolidPicture(3, 3, QColor(0xFE, 0x80, 0x02)))));
    const QImage black(QString::fromStdString(hostNoise));
    EXPECT_EQ(qRgb(0, 0, 0), black.pixel(2, 2));
}

TEST_F(StegCarrier, NoNoisePictureOfWhatIsNoPicture)
{
    Drive.WriteFile("text.png", "no picture");
    TShownFailures failures;
    {
        TModalScript script;
        failures.Expect(script, "Error");
        EXPECT_EQ("", Form.ViewNoise(Drive.Path("text.png")));
    }
    ASSERT_EQ(1u, failures.Reports.size());
    EXPECT_THAT(failures.Reports[0], HasSubstr("Failed to view steg noise."));
    EXPECT_THAT(failures.Reports[0], HasSubstr("Failed to load picture."));
}

// A steg buffer of `capacity` bytes: random fill, then the header.
TBytes MakeBuffer(int64_t capacity, std::string_view title, int32_t size)
{
    TBytes buffer = RandomBytes(static_cast<size_t>(capacity), 13);
    TStegForm::PutHeader(buffer.data(), title, size);
    return buffer;
}

TEST(StegCarrierHeader, TheFullCheckAsksForASizeThatFitsAndATitleWindowsCanHold)
{
    const struct
    {
        const char* Name;
        std::string Title;
        int32_t Size;
        int64_t Capacity;
        bool Valid;
    } cases[] = {
        {"a file filling the capacity", "a.txt", 64, 640, true},
        {"an empty file", "a.txt", 0, 576, true},
        {"a title of 255 bytes", std::string(255, 'n'), 0, 576, true},
        {"a leading dot", ".profile", 0, 576, true},
        {"an accented title", "caf\xE9.txt", 0, 576, true},
        {"a size past the buffer", "a.txt", 65, 640, false},
        {"the largest size in a small buffer", "a.txt", 1000000, 640, false},
        {"a size above the limit", "a.txt", 1000001, 2000000, false},
        {"a negative size", "a.txt", -1, 640, false},
        {"an empty title", "", 0, 576, false},
        {"the title \".\"", ".", 0, 576, false},
        {"the title \"..\"", "..", 0, 576, false},
        {"a colon", "c:a.txt", 0, 576, false},
        {"a backslash", "..\\a.txt", 0, 576, false},
        {"a slash", "../a.txt", 0, 576, false},
        {"a line feed", "a\n.txt", 0, 576, false},
        {"a byte 1",
         "\x01"
         "a.txt",
         0, 576, false},
        {"byte 31", "a\x1F", 0, 576, false},
        {"a buffer shorter than its header", "a.txt", 0, 512, false},
    };
    for (const auto& c : cases) {
        const TBytes buffer = MakeBuffer(std::max<int64_t>(c.Capacity, 576), c.Title, c.Size);
        EXPECT_TRUE(TStegForm::CheckHeader(buffer.data(), 576, false)) << c.Name;
        EXPECT_EQ(c.Valid, TStegForm::CheckHeader(buffer.data(), c.Capacity, true)) << c.Name;
    }

    for (const char* forbidden : {"<", ">", "|", "\"", "?", "*"}) {
        const TBytes buffer = MakeBuffer(576, std::string("a") + forbidden, 0);
        EXPECT_FALSE(TStegForm::CheckHeader(buffer.data(), 576, true)) << forbidden;
    }

    TBytes noNul = MakeBuffer(576, std::string(255, 'n'), 0);
    noNul[TStegForm::TitleOffset + 255] = 'n';
    EXPECT_FALSE(TStegForm::CheckHeader(noNul.data(), 576, true)) << "no NUL among the 256 title bytes";

    TBytes edited = MakeBuffer(576, "a.txt", 0);
    edited[TStegForm::CheckOffset + 9] ^= 1;
    EXPECT_FALSE(TStegForm::CheckHeader(edited.data(), 576, false)) << "the check block no longer hashes to block 2";
}

TEST(StegCarrierHeader, TheStoredFieldsReadBack)
{
    const TBytes buffer = MakeBuffer(640, "caf\xE9.txt", 17);
    EXPECT_EQ("caf\xE9.txt", TStegForm::GetStoredTitle(buffer.data()));
    EXPECT_EQ(17, TStegForm::GetStoredSize(buffer.data()));
    EXPECT_EQ(0, buffer[TStegForm::SizeHighOffset] | buffer[TStegForm::SizeHighOffset + 3]);
    EXPECT_EQ(0, buffer[TStegForm::TitleOffset + 8]);
}

// The whole way of a hidden file through the pieces: header, encryption keyed by the
// password, the salt and the carrier's pixels, embedding, the PNG, extraction, and the
// quick and the full check after decryption.
TEST_F(StegCarrier, AnEncryptedBufferComesBackOnlyWithItsKeys)
{
    const std::string carrier = SavePicture(Drive, "photo.jpg", NoisyPicture(100, 100, 14));
    const int64_t capacity = Open(carrier);
    ASSERT_GE(capacity, TStegForm::DataOffset);
    const int64_t blocks = capacity / TStegForm::BlockBytes;
    // A hidden file that fills the capacity exactly.
    const TBytes data = RandomBytes(static_cast<size_t>(capacity - TStegForm::DataOffset), 15);
    TBytes buffer = MakeBuffer(capacity, "secret.bin", static_cast<int32_t>(data.size()));
    std::copy(data.begin(), data.end(), buffer.begin() + TStegForm::DataOffset);
    const TBytes plain = buffer;
    const int integrity = TStegForm::GetIntegrity(Form.LockedPixels());

    const TStegBuffer password = TStegForm::EncodeStegText("p\xC3\xA4ss");
    TStegState a, b;
    const TStegState passwordKey = TStegForm::MakePasswordKey(password.Text(), TStegState::Load(buffer.data()));
    TStegForm::MakeKeyStates(TStegForm::MakePictureKey(passwordKey, Form.LockedPixels()), 100, a, b);
    TStegForm::EncryptBuffer(buffer.data() + TStegForm::BlockBytes, blocks - 1, a, b);
    ASSERT_EQ(fsPerfect, FunStatContext.Status);
    Form.EmbedBuffer(buffer.data(), capacity);
    EXPECT_EQ(integrity, TStegForm::GetIntegrity(Form.LockedPixels()));
    Form.UnlockPixels();
    const std::string saved = Form.SavePicture(carrier, false, true, false);
    Form.ReleasePicture();

    const auto decrypt = [&](std::string_view passwordBytes, int64_t iterations, int64_t count) {
        TBytes extracted(static_cast<size_t>(Open(saved)));
        Form.ExtractBuffer(extracted.data(), capacity);
        TStegState runA, runB;
        const TStegState key = TStegForm::MakePasswordKey(passwordBytes, TStegState::Load(extracted.data()));
        TStegForm::MakeKeyStates(TStegForm::MakePictureKey(key, Form.LockedPixels()), iterations, runA, runB);
        TStegForm::DecryptBuffer(extracted.data() + TStegForm::BlockBytes, count, runA, runB);
        Form.ReleasePicture();
        return extracted;
    };
    const TBytes quick = decrypt(password.Text(), 100, 2);
    EXPECT_TRUE(TStegForm::CheckHeader(quick.data(), capacity, false));
    const TBytes full = decrypt(password.Text(), 100, blocks - 1);
    EXPECT_TRUE(TStegForm::CheckHeader(full.data(), capacity, true));
    EXPECT_EQ(plain, full);

    EXPECT_FALSE(TStegForm::CheckHeader(decrypt("p\xE4sS", 100, 2).data(), capacity, false)) << "another password";
    EXPECT_FALSE(TStegForm::CheckHeader(decrypt(password.Text(), 1000, 2).data(), capacity, false))
        << "another iteration count";
}

} // namespace
