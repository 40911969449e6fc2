#pragma once

#include "tools/StegSecrets.h"

#include "viewing/StegServices.h"

#include <QDialog>
#include <QImage>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class TMainForm;
class TStoredTextList;
class TTraced;

// Pixel words 0xAARRGGBB (blue in bits 0-7, green 8-15, red 16-23, alpha 24-31), row after
// row from the top, each row `PixelsPerRow` words after the one above: the locked working
// picture, or any array of words.
struct TStegPixels
{
    uint32_t* Pixels = nullptr;
    int64_t PixelsPerRow = 0;
    int64_t Width = 0;
    int64_t Height = 0;

    uint32_t& At(int64_t x, int64_t y) const { return Pixels[x + y * PixelsPerRow]; }
};

// Steganography: one file of up to 1,000,000 bytes hidden, encrypted, in bit 0 of the
// colour channels of selected pixels of a picture.
//
// The carrier (StegCarrier.cpp): the working picture, which pixels carry bits and in
// which order, the capacity, the buffer's layout and its checks, the integrity number,
// and the noise picture. The cipher "RVX3" (StegCipher.cpp): a home-made block cipher,
// weak (no diffusion inside a block, no round constants, no authentication), kept bit
// for bit so that every picture ever stegged still opens. Everything runs on the
// user-interface thread.
//
// The dialog (StegForm.cpp) and the engine (StegEngine.cpp): steg-in with its
// verification, steg-out, and automatic steg for the viewer and the streams editor. The
// form exists for the whole run and installs itself as TStegServices. The password edits
// and the toggles keep their state for the run; the edits are cleared when the form goes.
class TStegForm : public QDialog, public TStegServices
{
public:
    static constexpr int mrOkay = 1;
    static constexpr int mrCancel = 2;
    // The only algorithm accepted: "RVX3".
    static constexpr int CipherIndex = 3;

    explicit TStegForm(QWidget* parent = nullptr);
    ~TStegForm() override;

    // Plugs the "Steg" section into the window's option file.
    void PlugOptions(TMainForm& window);
    void OnLoadOptionsSTL(TStoredTextList& store);
    void OnSaveOptionsSTL(TStoredTextList& store);

    // --- The dialog ---

    // The file dialog. Steg-in: `first` is the source file and `second` the carrier
    // picture; steg-out: `first` is the stegged picture and `second` a path in the folder
    // that receives the file.
    void Dialog(const std::string& first, const std::string& second, bool stegIn);
    // The password dialog of automatic steg, from the menu or asked by AutoStegIn.
    void Dialog(bool fromMenu);
    void OkayButtonClick();
    // "&Okay" of the file dialog: the passwords are checked, the operation runs and the
    // dialog closes whatever its outcome (the engine shows its failures).
    void Do();
    // The index of the algorithm's name: "RVX1" to "RVX3" in any letter case give 1 to 3,
    // anything else -1.
    static int GetAlgorithmIndex(const std::string& name);
    static bool IsPngExtension(const std::string& extension);

    // --- The engine ---

    // Hides InPath in the carrier OutPath and writes the picture as PNG beside it, then
    // takes it out again to verify. With `size` -1 the source is the file InPath, shown
    // failures as "Failed to stegg-in file." and success as a report; with a size of 0 or
    // more the source is that many bytes at `data`, InPath only names them, and failures
    // are handed back. Traced.
    void StegIn(int64_t size, const uint8_t* data);
    // Takes the file hidden in the picture InPath out: into `buffer` of `bufferSize` bytes
    // (the whole decrypted steg buffer), into the folder of OutPath, or, `automatic`, into
    // the outs. True when something was delivered. Failures are shown as "Failed to
    // stegg-out file.", except that in automatic mode a picture with nothing hidden for
    // this password, or larger than MaxAutomaticStegPixels, gives false without a message.
    bool StegOut(bool decrypt, uint8_t* buffer, std::string* picturePath, bool* isText, std::vector<std::string>* lines,
                 int64_t* size, std::string* title, bool automatic, int64_t bufferSize);

    // --- Automatic steg and the services ---

    bool IsAutoStegActive() override;
    bool AutoStegOut(std::string& path, std::string& title, bool& isText, std::vector<std::string>* lines,
                     int64_t& size) override;
    void AutoStegIn(const std::string& carrier, const std::string& name, const uint8_t* text, int64_t size) override;
    void StegDialog(const std::string& first, const std::string& second, bool stegIn) override;
    void AutoStegDialog(bool fromMenu) override;

    // The controls.
    QFrame* PasswordPanel = nullptr;
    QLabel* PasswordLabel = nullptr;
    QLabel* ConfirmLabel = nullptr;
    QLineEdit* PasswordEdit = nullptr;
    QLineEdit* ConfirmPasswordEdit = nullptr;
    QPushButton* ActivateAutoStegSpeedButton = nullptr;
    QPushButton* NoDecryptionSpeedButton = nullptr;
    QFrame* AlgorithmPanel = nullptr;
    QLabel* AlgorithmLabel = nullptr;
    QLabel* UserKeyIterationsLabel = nullptr;
    QComboBox* AlgorithmComboBox = nullptr;
    QComboBox* UserKeyIterationsComboBox = nullptr;
    QPushButton* OkayButton = nullptr;
    QPushButton* CancelButton = nullptr;
    QPushButton* HelpButton = nullptr;

    // The algorithm's index at the start of each operation; -1 in the password dialog.
    int AlgorithmIndex = -1;
    // Steg-in: the source (from memory, its name) and the carrier; steg-out: the picture
    // and a path in the destination folder. Both empty in the password dialog.
    std::string InPath;
    std::string OutPath;
    bool IsStegIn = false;

    // The steg buffer: blocks of 64 bytes, integers little-endian. Block 0 is the salt,
    // in clear; block 1 random check bytes; block 2 the hash of block 1; then the title
    // with its NUL, the hidden size S and a 0, and from DataOffset the hidden bytes.
    static constexpr int64_t BlockBytes = 64;
    static constexpr int64_t CheckOffset = 64;
    static constexpr int64_t HashOffset = 128;
    static constexpr int64_t TitleOffset = 192;
    static constexpr int64_t TitleBytes = 256;
    // The longest title: its NUL must fit.
    static constexpr int64_t MaxTitleBytes = TitleBytes - 1;
    static constexpr int64_t SizeOffset = 448;
    static constexpr int64_t SizeHighOffset = 452;
    static constexpr int64_t DataOffset = 576;
    static constexpr int64_t MaxHiddenSize = 1000000;
    // Usable pixels for each block of capacity.
    static constexpr int64_t PixelsPerBlock = 512;

    // --- The carrier ---

    // Automatic steg-out reads no picture whose header gives more pixels than this
    // (64 megapixels, 256 MB as working pixels): it runs for every ".png" the viewer
    // shows, where a huge picture would hold the memory and the user-interface thread,
    // while any picture of about 8 megapixels or more can already hold the largest hidden
    // file.
    static constexpr int64_t MaxAutomaticStegPixels = int64_t{64} * 1024 * 1024;

    // Makes the working picture of the file: the format is known from the content, no
    // orientation or colour space is applied, and the pixels are kept exactly except
    // that one of alpha 0 becomes 0x00000000. With `maxPixels`, a picture whose header
    // gives more pixels, or no size, is not decoded: the working picture stays empty and
    // nothing fails. Traced: "Failed to load picture." (the path).
    void LoadPicture(const std::string& path, std::optional<int64_t> maxPixels = std::nullopt);
    // Gives the working picture's pixels to the passes below. Traced: "Failed to lock
    // bitmap.".
    void LockPixels();
    void UnlockPixels();
    void ReleasePicture();
    // The locked pixels; no pixels while none are locked.
    TStegPixels LockedPixels() const;
    // Writes the working picture beside the path, with the path's extension replaced by
    // the encoder's (".png"; a path whose extension is ".png" in any letter case is
    // written over under its own name). The bytes go to a temporary file in the target's
    // folder, renamed over the target, so a failed save harms nothing. With `ask` an
    // existing target is asked about first; with `keepTime` it keeps its last-write time.
    // Under `asBmp` the picture is one of the program's temporary pictures: a 24-bit BMP,
    // readable by its owner alone, replacing whatever entry is at its name. The path
    // written, or "" when the user declined. Traced: "Failed to get filter information.",
    // "Failed to save picture.", "Failed to set time." (the path).
    std::string SavePicture(const std::string& path, bool asBmp, bool keepTime, bool ask);

    // The channel (0 blue, 1 green, 2 red) that takes the next bit at pixel (x, y), or -1
    // for a pixel that takes none: one of the last row or column, a grey one, or one whose
    // masked value (bit 0 of each channel and the alpha cleared) equals that of its right,
    // lower or lower-right neighbour. The channel is `bitIndex` mod 3.
    static int IsUsablePixel(const TStegPixels& picture, int64_t x, int64_t y, int64_t bitIndex);
    int IsUsablePixel(int64_t x, int64_t y) const;
    // The buffer bit at BitIndex: bit (k mod 8) of byte k / 8.
    int GetBufferBit(const uint8_t* buffer) const;
    // With a channel 0..2, the bit goes to bit 0 of that channel of the pixel and
    // BitIndex advances; a negative channel does nothing.
    void EmbedBit(int64_t x, int64_t y, int bit, int channel);
    // With a channel 0..2, bit 0 of that channel of the pixel value goes to the buffer bit
    // at BitIndex and BitIndex advances; any other channel does nothing.
    void ExtractBit(uint8_t* buffer, uint32_t pixel, int channel);
    // The passes over the locked pixels, column by column and each column from the top:
    // the number of usable pixels, and the first `capacity` × 8 of them taking or giving
    // the buffer's bits in order.
    int64_t CountUsablePixels();
    void EmbedBuffer(const uint8_t* buffer, int64_t capacity);
    void ExtractBuffer(uint8_t* buffer, int64_t capacity);

    // Capacity in bytes of a picture with this many usable pixels: whole blocks only.
    static int64_t GetCapacity(int64_t usablePixels);
    // The bits a hidden file of `size` bytes needs: the header and the data in whole blocks.
    static int64_t GetRequiredBits(int64_t size);
    // The four-digit number of a picture's masked pixels, the same before and after
    // steg-in, another one for a picture changed otherwise.
    static int GetIntegrity(const TStegPixels& picture);

    // Writes the title (at most MaxTitleBytes bytes, which the caller checks), its NUL,
    // the hidden size and the 0 after it, and the hash of block 1 into block 2.
    static void PutHeader(uint8_t* buffer, std::string_view title, int32_t size);
    // Block 2 is the hash of block 1.
    static bool CheckHashBlock(const uint8_t* buffer);
    // The short form checks the hash alone. The full form also asks for a size from 0 to
    // MaxHiddenSize that fits in the buffer of `capacity` bytes, and a title of 1 to 255
    // bytes without control bytes or < > | " : \ / ? *, and not "." or "..".
    static bool CheckHeader(const uint8_t* buffer, int64_t capacity, bool full);
    static std::string GetStoredTitle(const uint8_t* buffer);
    static int32_t GetStoredSize(const uint8_t* buffer);

    // Each colour channel becomes 128 where its bit 0 is set, else 0; alpha 0.
    static uint32_t MakeNoisePixel(uint32_t pixel);
    // Writes the picture's lowest-bit plane as "-Quillomber_StegNoisePicture.bmp" in the
    // temporary folder and gives its path, or "" after showing "Failed to view steg noise.".
    std::string ViewNoise(const std::string& path) override;

    // --- The cipher ---

    // A text as the steg stores it and the cipher reads it: its Windows-1252 bytes when
    // every character has one, else its UTF-8 bytes.
    static TStegBuffer EncodeStegText(std::string_view text);
    // Stored bytes as a text: as they are when they are valid UTF-8, else read as
    // Windows-1252.
    static std::string DecodeStegText(std::string_view bytes);
    static void MixBlock(TStegState& state);
    // The 64 bytes as a state, mixed 100 times.
    static TStegState HashBlock(const uint8_t* source);
    // K1 from the password's bytes and the salt block.
    static TStegState MakePasswordKey(std::string_view password, const TStegState& salt);
    // K2 from K1 and the masked pixels of the picture.
    static TStegState MakePictureKey(const TStegState& passwordKey, const TStegPixels& picture);
    // A and B from K2 after `iterations` updates.
    static void MakeKeyStates(const TStegState& pictureKey, int64_t iterations, TStegState& a, TStegState& b);
    // Changes A and B, driven by X; X must be neither of them.
    static void UpdateKeyStates(const TStegState& x, TStegState& a, TStegState& b);
    static void EncryptBlock(TStegState& block, const TStegState& a, const TStegState& b);
    static void DecryptBlock(TStegState& block, const TStegState& a, const TStegState& b);
    // Runs of `count` blocks in place, each block's key states chained from the plaintext
    // of the one before. Encryption is traced: a block that comes out unchanged stops it
    // with "The current data block is not encrypted. Try to steg-in again.".
    static void EncryptBuffer(uint8_t* blocks, int64_t count, TStegState& a, TStegState& b);
    static void DecryptBuffer(uint8_t* blocks, int64_t count, TStegState& a, TStegState& b);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildControls();
    // The password's bytes as the cipher reads them.
    TStegBuffer GetPasswordBytes() const;
    // K2 of the locked picture: from the password, the salt block at the buffer's start
    // and the masked pixels.
    TStegState MakeKeyOfLockedPicture(const uint8_t* buffer) const;
    int64_t GetIterations() const;
    // Raises "Invalid encryption algorithm." unless the combo names the cipher.
    bool CheckAlgorithm(TTraced& trace);

    QImage WorkBitmap;
    uint32_t* Pixels = nullptr;
    int64_t PixelsPerRow = 0;
    int64_t PictureWidth = 0;
    int64_t PictureHeight = 0;
    int64_t BitIndex = 0;
};

// Made at start-up; it lives for the whole run.
extern TStegForm* StegForm;
