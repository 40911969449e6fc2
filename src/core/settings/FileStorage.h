#pragma once

#include "core/settings/DamagedFile.h"
#include "core/settings/StreamStorage.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>

class TTraced;

namespace host {
class File;
}

// The 48 bytes in front of the payload of a settings file.
struct TFileStorageHeader
{
    static constexpr int32_t ByteSize = 48;
    static constexpr int32_t SignatureSize = 32;

    uint32_t Checksum = 0;
    std::array<char, SignatureSize> Signature{};
    int32_t Version = 0;
    std::array<uint32_t, 2> Reserved{};
};

// A typed stream kept in one file: a 48-byte header (checksum, signature text, version,
// reserved zeros) and the payload the owner's events read and write. Load and Save show
// their own failures and never hand them on.
class TFileStorage : public TStreamStorage
{
public:
    // The longest signature: its header field always keeps a terminating zero.
    static constexpr size_t MaxSignatureLength = TFileStorageHeader::SignatureSize - 1;

    bool Loaded = false;
    std::string FileName;
    std::string Signature;
    // Written by Save; handed to OnLoad for an empty file.
    int32_t Version = 0;
    // The longest payload the owner's format can hold: a longer file is refused unread.
    int64_t MaxPayloadSize = MaxSize - TFileStorageHeader::ByteSize;
    // Reads the payload; gets the version stored in the file.
    std::function<void(TFileStorage& storage, int32_t version)> OnLoad;
    std::function<void(TFileStorage& storage)> OnLoadFailed;
    // Writes the payload.
    std::function<void(TFileStorage& storage)> OnSave;

    // Traced. Reads and checks the file and hands its payload to OnLoad; a missing file
    // is created empty and counts as no settings yet. True when the load succeeded.
    // The signature is checked before the payload is read, and a file longer than the
    // header and the longest payload is refused unread.
    bool Load();
    // Traced. Writes the whole file so that a failure leaves the old file whole. With
    // ask, an existing file is replaced only after the user agreed. True when written.
    // A file whose load failed is first kept as its name + ".bak".
    bool Save(bool ask);
    // The payload's hash, seeded with the signature's.
    uint32_t Checksum() const;
    void ReadHeader(TFileStorageHeader& header);
    void WriteHeader(const TFileStorageHeader& header);

private:
    void LoadFile(TTraced& trace);
    bool ReadFileImage(TTraced& trace, TFileStorageHeader& header);
    bool ReadUpTo(TTraced& trace, host::File& file, uint64_t size);
    bool CheckSignature(TTraced& trace, TFileStorageHeader& header);
    bool CheckChecksum(TTraced& trace, const TFileStorageHeader& header);
    void RunOnLoadFailed(TTraced& trace);
    bool SaveFile(TTraced& trace, bool ask);
    void StampHeader();

    // The file whose load failed, until it is kept.
    TDamagedFile Damaged;
};

// The four bytes of a 32-bit value in reverse order.
uint32_t ByteSwap(uint32_t x);
// 32-bit hash of a text, each character taken twice: forwards, then backwards.
uint32_t TextHash(const std::string& text);
uint32_t BlockHashStep(uint32_t h, uint8_t byte, uint32_t i);
// Seeded 32-bit hash of n bytes; the seed itself for no bytes.
uint32_t BlockHash(const void* data, int32_t n, uint32_t seed);
