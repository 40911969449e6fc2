#include "core/settings/FileStorage.h"

#include "core/errors/Traced.h"
#include "core/forms/MessageBoxes.h"

#include "host/File.h"
#include "host/LastError.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace {

constexpr int32_t HeaderSize = TFileStorageHeader::ByteSize;
constexpr int32_t SignatureOffset = 4;
constexpr int32_t VersionOffset = SignatureOffset + TFileStorageHeader::SignatureSize;
constexpr int32_t ReservedOffset = VersionOffset + 4;

const char* const LoadFailureText = "Failed to load. Data is probably corrupted.";
const char* const SaveFailureText = "Failed to save.";

uint32_t SignExtendedChar(char c)
{
    return static_cast<uint32_t>(static_cast<int32_t>(static_cast<signed char>(c)));
}

void EncodeHeader(const TFileStorageHeader& header, uint8_t* bytes)
{
    PutLittleEndian32(bytes, header.Checksum);
    std::memcpy(bytes + SignatureOffset, header.Signature.data(), header.Signature.size());
    PutLittleEndian32(bytes + VersionOffset, static_cast<uint32_t>(header.Version));
    PutLittleEndian32(bytes + ReservedOffset, header.Reserved[0]);
    PutLittleEndian32(bytes + ReservedOffset + 4, header.Reserved[1]);
}

void DecodeHeader(const uint8_t* bytes, TFileStorageHeader& header)
{
    header.Checksum = GetLittleEndian32(bytes);
    std::memcpy(header.Signature.data(), bytes + SignatureOffset, header.Signature.size());
    header.Version = static_cast<int32_t>(GetLittleEndian32(bytes + VersionOffset));
    header.Reserved[0] = GetLittleEndian32(bytes + ReservedOffset);
    header.Reserved[1] = GetLittleEndian32(bytes + ReservedOffset + 4);
}

std::string StoredSignature(const TFileStorageHeader& header)
{
    const char* text = header.Signature.data();
    return std::string(text, strnlen(text, header.Signature.size()));
}

// Reads exactly `size` bytes; false on a failure or when the file ends early.
bool ReadExactly(host::File& file, uint8_t* data, size_t size)
{
    size_t done = 0;
    while (done < size) {
        const std::optional<size_t> got = file.Read(data + done, size - done);
        if (!got || *got == 0)
            return false;
        done += *got;
    }
    return true;
}

} // namespace

uint32_t ByteSwap(uint32_t x)
{
    return (x >> 24) | ((x >> 8) & 0x0000FF00u) | ((x << 8) & 0x00FF0000u) | (x << 24);
}

uint32_t TextHash(const std::string& text)
{
    uint32_t a = 0;
    uint32_t b = 0;
    const auto step = [&](char c) {
        a = std::rotl(ByteSwap(a) ^ SignExtendedChar(c), 8);
        b = std::rotl(b + a, 8);
    };
    std::for_each(text.begin(), text.end(), step);
    std::for_each(text.rbegin(), text.rend(), step);
    return b;
}

uint32_t BlockHashStep(uint32_t h, uint8_t byte, uint32_t i)
{
    h += ByteSwap(byte);
    h += std::rotl(i, 1);
    h = std::rotl(h, 5);
    if (i % 3 == 0)
        h = ByteSwap(h);
    return h;
}

uint32_t BlockHash(const void* data, int32_t n, uint32_t seed)
{
    const auto* bytes = static_cast<const uint8_t*>(data);
    uint32_t h = seed + ByteSwap(static_cast<uint32_t>(n));
    for (int32_t i = 0; i < n; ++i)
        h = BlockHashStep(h, bytes[i], static_cast<uint32_t>(i));
    return h;
}

uint32_t TFileStorage::Checksum() const
{
    const int32_t payloadSize = std::max(Size - HeaderSize, 0);
    return BlockHash(payloadSize > 0 ? Data + HeaderSize : nullptr, payloadSize, TextHash(Signature));
}

void TFileStorage::ReadHeader(TFileStorageHeader& header)
{
    uint8_t bytes[HeaderSize];
    EncodeHeader(header, bytes);
    ReadObject(bytes, HeaderSize);
    DecodeHeader(bytes, header);
}

void TFileStorage::WriteHeader(const TFileStorageHeader& header)
{
    uint8_t bytes[HeaderSize];
    EncodeHeader(header, bytes);
    WriteObject(bytes, HeaderSize);
}

bool TFileStorage::Load()
{
    TTraced trace;
    Loaded = false;
    Clear();
    try {
        LoadFile(trace);
    }
    TRACED_CATCH(trace)
    trace.ShowFailure(LoadFailureText);
    Clear();
    if (Loaded) {
        Damaged.Forget();
    } else {
        Damaged.Mark(FileName);
        RunOnLoadFailed(trace);
    }
    return Loaded;
}

void TFileStorage::LoadFile(TTraced& trace)
{
    Reading = true;
    Position = 0;
    TFileStorageHeader header;
    header.Version = Version;
    if (!ReadFileImage(trace, header))
        return;
    if (OnLoad) {
        FunStatContext.Reset(fsPerfect);
        OnLoad(*this, header.Version);
        if (trace.TakeOver())
            return;
    }
    Loaded = true;
}

// The file into the buffer, checked on the way: the payload is read only behind a header
// of this store's signature, so a file of another kind costs no more than its header.
// Opened for reading only, so that a read-only settings file loads too.
bool TFileStorage::ReadFileImage(TTraced& trace, TFileStorageHeader& header)
{
    host::File file;
    host::SetLastError(host::ERROR_SUCCESS);
    file.Open(FileName, host::FileAccess::Read, host::FileDisposition::OpenAlways);
    if (IsSystemErrorNotExisting() || !file.IsOpen()) {
        trace.RaiseSystem("Failed to read.", FileName);
        return false;
    }
    host::SetLastError(host::ERROR_SUCCESS);
    const std::optional<uint64_t> fileSize = file.Size();
    if (IsSystemError() || !fileSize) {
        trace.RaiseSystem("Failed to read.", FileName);
        return false;
    }
    if (*fileSize == 0)
        return true;
    if (*fileSize > static_cast<uint64_t>(HeaderSize + std::min<int64_t>(MaxPayloadSize, MaxSize - HeaderSize))) {
        trace.Raise("Failed to read.", FileName, "", host::ERROR_FILE_TOO_LARGE);
        return false;
    }
    return ReadUpTo(trace, file, std::min<uint64_t>(*fileSize, HeaderSize)) && CheckSignature(trace, header) &&
           ReadUpTo(trace, file, *fileSize) && CheckChecksum(trace, header);
}

// Grows the buffer to `size` bytes and fills what is new from the file.
bool TFileStorage::ReadUpTo(TTraced& trace, host::File& file, uint64_t size)
{
    const int32_t done = Size;
    Resize(static_cast<int64_t>(size));
    if (trace.TakeOver())
        return false;
    host::SetLastError(host::ERROR_SUCCESS);
    if (!ReadExactly(file, Data + done, static_cast<size_t>(Size - done)) || IsSystemError()) {
        trace.RaiseSystem("Failed to read.", FileName);
        return false;
    }
    return true;
}

bool TFileStorage::CheckSignature(TTraced& trace, TFileStorageHeader& header)
{
    // A file too short for its header panics in the read and then fails as unsigned.
    ReadHeader(header);
    const bool headerRead = FunStatContext.Status <= fsWarning;
    if (!headerRead || StoredSignature(header) != Signature) {
        trace.Raise("Invalid file signature.", FileName);
        return false;
    }
    return true;
}

bool TFileStorage::CheckChecksum(TTraced& trace, const TFileStorageHeader& header)
{
    if (Checksum() != header.Checksum) {
        trace.Raise("Invalid integrity check.", FileName);
        return false;
    }
    return true;
}

void TFileStorage::RunOnLoadFailed(TTraced& trace)
{
    if (!OnLoadFailed)
        return;
    try {
        OnLoadFailed(*this);
    }
    TRACED_CATCH(trace)
    trace.ShowFailure(LoadFailureText);
}

bool TFileStorage::Save(bool ask)
{
    TTraced trace;
    bool result = false;
    try {
        result = SaveFile(trace, ask);
    }
    TRACED_CATCH(trace)
    trace.ShowFailure(SaveFailureText);
    return result;
}

bool TFileStorage::SaveFile(TTraced& trace, bool ask)
{
    Reading = false;
    Clear();
    WriteFailure = TFunStatContext();
    WriteHeader(TFileStorageHeader());
    if (trace.TakeOver())
        return false;
    if (OnSave) {
        FunStatContext.Reset(fsPerfect);
        OnSave(*this);
        if (trace.TakeOver())
            return false;
    }
    // A value the event failed to write would shift every value after it.
    if (WriteFailure.Status > fsWarning) {
        trace.Context = WriteFailure;
        return false;
    }
    StampHeader();
    if (ask && host::PathExists(FileName) && !AskQuery("File already exists.\nOverwrite it?"))
        return false;
    if (!Damaged.KeepBeforeSaving(FileName)) {
        trace.RaiseSystem("Failed to keep the damaged file.", FileName, TDamagedFile::BackupName(FileName));
        return false;
    }
    // The image goes to a temporary file that replaces the old one only once it is
    // complete, so a failed save leaves the old settings whole.
    host::SetLastError(host::ERROR_SUCCESS);
    if (!host::ReplaceFileContents(FileName,
                                   std::string(reinterpret_cast<const char*>(Data), static_cast<size_t>(Size)))) {
        trace.RaiseSystem(SaveFailureText, FileName);
        return false;
    }
    return true;
}

// Fills the header of the written image; the checksum covers the payload only.
void TFileStorage::StampHeader()
{
    const size_t signatureLength = std::min(Signature.size(), MaxSignatureLength);
    std::memcpy(Data + SignatureOffset, Signature.data(), signatureLength);
    PutLittleEndian32(Data + VersionOffset, static_cast<uint32_t>(Version));
    PutLittleEndian32(Data, Checksum());
}
