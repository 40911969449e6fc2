#pragma once

#include "tools/StegSecrets.h"

#include <QDialog>
#include <QImage>

#include <cstdint>
#include <string>
#include <string_view>

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
class TStegForm : public QDialog
{
public:
    explicit TStegForm(QWidget* parent = nullptr);

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

    // Makes the working picture of the file: the format is known from the content, no
    // orientation or colour space is applied, and the pixels are copied exactly except
    // that one of alpha 0 becomes 0x00000000. Traced: "Failed to load picture." (the path).
    void LoadPicture(const std::string& path);
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
    std::string ViewNoise(const std::string& path);

    // --- The cipher ---

    // A text as the steg stores it and the cipher reads it: its Windows-1252 bytes when
    // every character has one, else its UTF-8 bytes.
    static TStegBuffer EncodeStegText(std::string_view text);
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

private:
    QImage WorkBitmap;
    uint32_t* Pixels = nullptr;
    int64_t PixelsPerRow = 0;
    int64_t PictureWidth = 0;
    int64_t PictureHeight = 0;
    int64_t BitIndex = 0;
};
