#include "tools/StegForm.h"

#include "core/errors/Traced.h"
#include "core/files/FileExtensions.h"
#include "core/files/FileInfo.h"
#include "core/files/KnownFolders.h"
#include "core/files/PathNames.h"
#include "core/files/WholeFiles.h"
#include "core/forms/MessageBoxes.h"
#include "core/forms/Utilities.h"
#include "core/forms/WaitCursor.h"
#include "core/text/AsciiCase.h"
#include "core/text/MyMath.h"
#include "core/text/Random.h"
#include "core/text/Text.h"
#include "core/text/TextCharacter.h"

#include "host/File.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QString>

#include <algorithm>
#include <cstring>

namespace {

constexpr char StegInFailure[] = "Failed to stegg-in file.";
constexpr char StegOutFailure[] = "Failed to stegg-out file.";
constexpr char AutoStegPictureName[] = "-Quillomber_AutoStegPicture.bmp";
// Blocks 1 to 8: the check block, its hash, the title and the size.
constexpr int64_t HeaderBlocks = 8;
// Blocks 1 and 2, enough to tell a right key from a wrong one.
constexpr int64_t QuickCheckBlocks = 2;

std::string IntegrityText(int integrity)
{
    return "Integrity: \"" + std::to_string(integrity) + "\"";
}

std::string SpaceText(int64_t bits)
{
    return Int64ToSeparatedText(bits) + " bits (" + Int64ToSeparatedText(bits / 8) + " bytes).";
}

std::string CarrierTooSmallText(int64_t capacity, int64_t requiredBits)
{
    return "The carrier file must be bigger! The storing space available is " + SpaceText(capacity * 8) +
           " The storing space required is " + SpaceText(requiredBits);
}

std::string StegInReport(int integrity, int64_t capacity, int64_t requiredBits, int64_t pictureBytes)
{
    return "Source file has been stegged-in the carrier file.\nIntegrity (four digits): \"" +
           std::to_string(integrity) + "\"\nThe storing space available is " + SpaceText(capacity * 8) +
           "\nThe storing space required is " + SpaceText(requiredBits) +
           "\nThe maximum storing density is 1 bit of hidden data to " + Int64ToSeparatedText(pictureBytes / capacity) +
           " bits of resulted picture file.\n\nSteg-in VERIFICATION okay.";
}

// One random 32-bit value for each four bytes.
void FillWithRandom(TStegBuffer& buffer)
{
    for (size_t i = 0; i < buffer.Size(); i += 4) {
        const uint32_t value = Random.Get();
        for (size_t k = 0; k < 4 && i + k < buffer.Size(); ++k)
            buffer.Data()[i + k] = static_cast<uint8_t>(value >> (8 * k));
    }
}

// Decrypts `count` blocks after the salt with the key states made anew from K2.
void DecryptBlocks(uint8_t* buffer, const TStegState& pictureKey, int64_t iterations, int64_t count)
{
    TStegState a;
    TStegState b;
    TStegForm::MakeKeyStates(pictureKey, iterations, a, b);
    TStegForm::DecryptBuffer(buffer + TStegForm::BlockBytes, count, a, b);
}

// A failure a traced callee reported only as a warning stops the operation.
void RaiseWarningAsFailure(TTraced& trace)
{
    trace.Raise(FunStatContext.Description, FunStatContext.Parameter1, FunStatContext.Parameter2,
                FunStatContext.SystemErrorCode);
}

// The bytes as a text, wiped from this copy once the caller's text holds them.
std::string BytesAsText(const uint8_t* bytes, int64_t size)
{
    return {reinterpret_cast<const char*>(bytes), static_cast<size_t>(size)};
}

void WipeText(std::string& text)
{
    WipeBytes(text.data(), text.size());
    text.clear();
}

} // namespace

std::string TStegForm::DecodeStegText(std::string_view bytes)
{
    bool utf8 = true;
    for (size_t position = 0; position < bytes.size() && utf8;) {
        const TTextCharacter character = DecodeCharacterAt(bytes, position);
        utf8 = character.Length > 1 || static_cast<unsigned char>(bytes[position]) < 0x80;
        position += character.Length;
    }
    if (utf8)
        return std::string(bytes);
    std::string text;
    for (const char byte : bytes) {
        const char32_t codePoint = DecodeCharacterAt(std::string_view(&byte, 1), 0).CodePoint;
        text += QString::fromUcs4(&codePoint, 1).toStdString();
    }
    return text;
}

TStegBuffer TStegForm::GetPasswordBytes() const
{
    QByteArray typed = PasswordEdit->text().toUtf8();
    TStegBuffer bytes = EncodeStegText({typed.constData(), static_cast<size_t>(typed.size())});
    WipeBytes(typed.data(), static_cast<size_t>(typed.size()));
    return bytes;
}

TStegState TStegForm::MakeKeyOfLockedPicture(const uint8_t* buffer) const
{
    const TStegBuffer password = GetPasswordBytes();
    const TStegState salt = TStegState::Load(buffer);
    const TStegState passwordKey = MakePasswordKey(password.Text(), salt);
    return MakePictureKey(passwordKey, LockedPixels());
}

int64_t TStegForm::GetIterations() const
{
    return GetIntFromComboBoxOrZero(*UserKeyIterationsComboBox);
}

bool TStegForm::CheckAlgorithm(TTraced& trace)
{
    AlgorithmIndex = GetAlgorithmIndex(AlgorithmComboBox->currentText().toStdString());
    if (AlgorithmIndex >= CipherIndex)
        return true;
    trace.Raise("Invalid encryption algorithm.", std::to_string(AlgorithmIndex));
    return false;
}

void TStegForm::StegIn(int64_t size, const uint8_t* data)
{
    TTraced trace;
    const bool fromFile = size < 0;
    trace.Run([&] {
        if (!CheckAlgorithm(trace))
            return;
        if (!fromFile && !SameTextAscii(GetExtension(InPath), ".txt"))
            return trace.Raise("Failed to auto steg-in because the source is not text.", InPath);
        int64_t hiddenSize = size;
        if (fromFile) {
            hiddenSize = GetFileSize(InPath);
            if (FunStatContext.Status != fsPerfect)
                return RaiseWarningAsFailure(trace);
        }
        if (hiddenSize > MaxHiddenSize)
            return trace.Raise("Invalid file size.", std::to_string(hiddenSize),
                               "Maximum " + std::to_string(MaxHiddenSize));
        LoadPicture(OutPath);
        if (trace.TakeOver())
            return;
        LockPixels();
        if (trace.TakeOver())
            return;
        const int64_t capacity = GetCapacity(CountUsablePixels());
        const int64_t requiredBits = GetRequiredBits(hiddenSize);
        if (capacity * 8 < requiredBits)
            return trace.Raise(CarrierTooSmallText(capacity, requiredBits), OutPath, InPath);
        TStegBuffer buffer(static_cast<size_t>(capacity));
        TStegBuffer plain(static_cast<size_t>(capacity));
        FillWithRandom(buffer);
        const std::string name = GetPathName(InPath);
        const TStegBuffer title = EncodeStegText(name);
        if (title.Size() > MaxTitleBytes)
            return trace.Raise("File name too long.", name, std::to_string(title.Size()));
        PutHeader(buffer.Data(), title.Text(), static_cast<int32_t>(hiddenSize));
        if (!fromFile && hiddenSize > 0)
            std::memcpy(buffer.Data() + DataOffset, data, static_cast<size_t>(hiddenSize));
        // An empty file has nothing to read.
        if (fromFile && hiddenSize > 0) {
            LoadFileToBuffer(InPath, buffer.Data() + DataOffset, static_cast<int32_t>(hiddenSize), false);
            if (trace.TakeOver())
                return;
        }
        std::memcpy(plain.Data(), buffer.Data(), static_cast<size_t>(capacity));
        {
            TWaitCursor wait;
            TStegState a;
            TStegState b;
            MakeKeyStates(MakeKeyOfLockedPicture(buffer.Data()), GetIterations(), a, b);
            EncryptBuffer(buffer.Data() + BlockBytes, capacity / BlockBytes - 1, a, b);
            if (trace.TakeOver())
                return;
            EmbedBuffer(buffer.Data(), capacity);
        }
        const int integrity = GetIntegrity(LockedPixels());
        UnlockPixels();
        const std::string saved = SavePicture(OutPath, false, true, size <= 0);
        if (trace.TakeOver() || saved.empty())
            return;

        // Verification: the picture as written must give back every byte of the buffer.
        ReleasePicture();
        InPath = saved;
        OutPath.clear();
        buffer.Wipe();
        const bool extracted =
            StegOut(true, buffer.Data(), nullptr, nullptr, nullptr, nullptr, nullptr, false, capacity);
        if (!extracted || std::memcmp(buffer.Data(), plain.Data(), static_cast<size_t>(capacity)) != 0)
            return trace.Raise("Failed steg-in verification.", saved);
        if (fromFile)
            ShowInfoMessage(StegInReport(integrity, capacity, requiredBits, GetFileSize(saved)));
    });
    ReleasePicture();
    if (fromFile)
        trace.ShowFailure(StegInFailure);
}

bool TStegForm::StegOut(bool decrypt, uint8_t* buffer, std::string* picturePath, bool* isText,
                        std::vector<std::string>* lines, int64_t* size, std::string* title, bool automatic,
                        int64_t bufferSize)
{
    TTraced trace;
    bool delivered = false;
    trace.Run([&] {
        if (!CheckAlgorithm(trace))
            return;
        const auto holdsNothing = [&] {
            if (automatic && size != nullptr)
                *size = 0;
        };
        LoadPicture(InPath, automatic ? std::optional(MaxAutomaticStegPixels) : std::nullopt);
        if (trace.TakeOver())
            return;
        // A picture too large for automatic steg-out is taken as one without a hidden file.
        if (WorkBitmap.isNull())
            return holdsNothing();
        LockPixels();
        if (trace.TakeOver())
            return;
        const int64_t capacity = GetCapacity(CountUsablePixels());
        const int integrity = GetIntegrity(LockedPixels());
        TStegBuffer extracted(static_cast<size_t>(capacity));
        TStegBuffer encrypted(static_cast<size_t>(capacity));
        TStegState pictureKey;
        bool found = false;
        // A picture too small for the header holds nothing.
        if (capacity >= DataOffset) {
            TWaitCursor wait;
            ExtractBuffer(extracted.Data(), capacity);
            std::memcpy(encrypted.Data(), extracted.Data(), static_cast<size_t>(capacity));
            pictureKey = MakeKeyOfLockedPicture(extracted.Data());
            UnlockPixels();
            DecryptBlocks(extracted.Data(), pictureKey, GetIterations(), QuickCheckBlocks);
            found = CheckHeader(extracted.Data(), capacity, false);
        }
        UnlockPixels();
        if (!found) {
            holdsNothing();
            if (!automatic)
                trace.Raise("Failed to decrypt.", InPath, IntegrityText(integrity));
            return;
        }
        std::memcpy(extracted.Data(), encrypted.Data(), static_cast<size_t>(capacity));
        {
            TWaitCursor wait;
            DecryptBlocks(extracted.Data(), pictureKey, GetIterations(),
                          decrypt ? capacity / BlockBytes - 1 : HeaderBlocks);
        }
        if (!CheckHeader(extracted.Data(), capacity, true))
            return trace.Raise("Failed to decrypt (though signature checked the first time).", InPath,
                               IntegrityText(integrity));
        const std::string hiddenTitle = DecodeStegText(GetStoredTitle(extracted.Data()));
        const int32_t hiddenSize = GetStoredSize(extracted.Data());
        const uint8_t* hidden = extracted.Data() + DataOffset;

        if (buffer != nullptr) {
            // A buffer of another size than the capacity receives nothing.
            if (bufferSize == capacity) {
                std::memcpy(buffer, extracted.Data(), static_cast<size_t>(capacity));
                delivered = true;
            }
            return;
        }
        if (!automatic) {
            const std::string destination = IncludeEndBackslash(GetParentPath(OutPath)) + hiddenTitle;
            if (MyFileExists(destination) && !AskQuery("File already exists. OVERWRITE it?"))
                return;
            SaveBufferToFile(destination, hidden, hiddenSize);
            delivered = !trace.TakeOver();
            return;
        }
        if (title != nullptr)
            *title = hiddenTitle;
        if (size != nullptr)
            *size = hiddenSize;
        if (lines != nullptr && SameTextAscii(GetExtension(hiddenTitle), ".txt") &&
            std::find(hidden, hidden + hiddenSize, 0) == hidden + hiddenSize) {
            std::string text = BytesAsText(hidden, hiddenSize);
            *lines = SplitLines(text);
            WipeText(text);
            if (isText != nullptr)
                *isText = true;
            delivered = true;
            return;
        }
        if (!IsPictureFile(hiddenTitle))
            return;
        if (isText != nullptr)
            *isText = false;
        const std::string folder = GetTempPathA();
        if (trace.TakeOver())
            return;
        const std::string target = IncludeEndBackslash(folder) + AutoStegPictureName;
        std::string bytes = BytesAsText(hidden, hiddenSize);
        const bool written = host::ReplacePrivateFileContents(target, bytes);
        WipeText(bytes);
        if (!written)
            return trace.RaiseSystem("Failed to save.", target);
        if (picturePath != nullptr)
            *picturePath = target;
        delivered = true;
    });
    ReleasePicture();
    trace.ShowFailure(StegOutFailure);
    return delivered;
}

bool TStegForm::AutoStegOut(std::string& path, std::string& title, bool& isText, std::vector<std::string>* lines,
                            int64_t& size)
{
    InPath = path;
    if (!ActivateAutoStegSpeedButton->isChecked() || PasswordEdit->text().isEmpty() ||
        !IsPngExtension(GetExtension(path)))
        return false;
    isText = false;
    return StegOut(true, nullptr, &path, &isText, lines, &size, &title, true, 0);
}

void TStegForm::AutoStegIn(const std::string& carrier, const std::string& name, const uint8_t* text, int64_t size)
{
    TTraced trace;
    trace.Run([&] {
        const auto isConfirmed = [this] {
            return !PasswordEdit->text().isEmpty() && ConfirmPasswordEdit->text() == PasswordEdit->text();
        };
        if (!ActivateAutoStegSpeedButton->isChecked())
            return trace.Raise("Failed to auto steg-in because the function is not active.", carrier);
        if (!isConfirmed()) {
            ShowWarningMessage("The password is empty or not confirmed.");
            Dialog(false);
            if (!isConfirmed())
                return trace.Raise("Failed to auto steg-in because the password is empty or not confirmed.", carrier);
        }
        if (!IsPngExtension(GetExtension(carrier)))
            return trace.Raise("Failed to auto steg-in because the carrier file is invalid.", carrier);
        // Text in memory: a size below 0 would name a file.
        if (size < 0)
            return trace.Raise("Invalid file size.", std::to_string(size), "Maximum " + std::to_string(MaxHiddenSize));
        InPath = name;
        OutPath = carrier;
        StegIn(size, text);
        trace.TakeOver();
    });
}
