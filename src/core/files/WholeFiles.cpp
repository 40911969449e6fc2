#include "core/files/WholeFiles.h"

#include "core/errors/Traced.h"
#include "core/files/FileInfo.h"
#include "core/text/Sha1.h"
#include "core/text/Text.h"

#include "host/File.h"
#include "host/FileSystem.h"
#include "host/LastError.h"

#include <QCoreApplication>

#include <vector>

namespace {

constexpr size_t HashBlockBytes = 1000000;
constexpr size_t MaxPath = 260;

// Reads until `size` bytes are in or the file ends; a short file is a failure.
bool ReadFully(host::File& file, uint8_t* buffer, size_t size)
{
    while (size > 0) {
        const std::optional<size_t> got = file.Read(buffer, size);
        if (!got)
            return false;
        if (*got == 0) {
            host::SetLastError(host::ERROR_HANDLE_EOF);
            return false;
        }
        buffer += *got;
        size -= *got;
    }
    return true;
}

} // namespace

void RecycleFile(const std::string& name)
{
    TTraced trace;
    trace.Run([&] {
        // The recycle bin takes a list of names ended by two NULs in a path-sized buffer.
        char names[MaxPath];
        IniText(names, sizeof names, name);
        if (trace.TakeOver())
            return;
        DoubleEndText(names, sizeof names);
        if (trace.TakeOver())
            return;
        host::SetLastError(host::ERROR_SUCCESS);
        if (!host::MoveToTrash(name) && IsSystemError())
            trace.RaiseSystem("Failed to recycle.", name);
    });
}

int32_t LoadFileToBuffer(const std::string& name, uint8_t* buffer, int32_t capacity, bool truncate)
{
    TTraced trace;
    int32_t count = 0;
    trace.Run([&] {
        host::File file;
        host::SetLastError(host::ERROR_SUCCESS);
        if (!file.Open(name, host::FileAccess::Read, host::FileDisposition::OpenExisting))
            return trace.RaiseSystem("Failed to load.", name);
        host::SetLastError(host::ERROR_SUCCESS);
        // The whole 64-bit size decides: a file past 4 GiB is never mistaken for a small one.
        const std::optional<uint64_t> size = file.Size();
        if (!size || *size == 0)
            return trace.RaiseSystem("Failed to load, or empty file.", name);
        uint64_t wanted = *size;
        if (wanted > static_cast<uint64_t>(std::max(capacity, 0))) {
            const std::string sizeText = std::to_string(*size);
            const std::string capacityText = std::to_string(capacity);
            if (!truncate)
                return trace.Raise("File size too big.", sizeText, capacityText);
            trace.Warn("File size too big.", sizeText, capacityText);
            wanted = static_cast<uint64_t>(std::max(capacity, 0));
        }
        host::SetLastError(host::ERROR_SUCCESS);
        if (!ReadFully(file, buffer, wanted))
            return trace.RaiseSystem("Failed to load.", name);
        count = static_cast<int32_t>(wanted);
    });
    return count;
}

void SaveBufferToFile(const std::string& name, const uint8_t* buffer, int32_t size)
{
    TTraced trace;
    trace.Run([&] {
        const std::string bytes(reinterpret_cast<const char*>(buffer), static_cast<size_t>(std::max(size, 0)));
        host::SetLastError(host::ERROR_SUCCESS);
        if (!host::ReplaceFileContents(name, bytes))
            trace.RaiseSystem("Failed to save.", name);
    });
}

std::string HashFile(const std::string& name, const THashProgress& progress)
{
    TTraced trace;
    std::string digestText;
    trace.Run([&] {
        host::File file;
        host::SetLastError(host::ERROR_SUCCESS);
        if (!file.Open(name, host::FileAccess::Read, host::FileDisposition::OpenExisting))
            return trace.RaiseSystem("Failed to open file.", name);
        const std::optional<uint64_t> size = file.Size();
        if (!size)
            return trace.RaiseSystem("Failed to get file size.", name);
        std::vector<uint8_t> block(HashBlockBytes);
        Sha1Context context;
        Sha1Init(context);
        uint64_t total = 0;
        while (true) {
            const std::optional<size_t> got = file.Read(block.data(), block.size());
            if (!got)
                return trace.RaiseSystem("Failed to read data.", name);
            Sha1Update(context, block.data(), static_cast<uint32_t>(*got));
            total += *got;
            if (progress) {
                if (QCoreApplication::instance() != nullptr)
                    QCoreApplication::processEvents();
                if (progress(total))
                    return trace.Warn("User abort.", name);
            }
            if (*got < block.size() || total >= *size)
                break;
        }
        TSha1Digest digest;
        Sha1Final(digest, context);
        digestText = BytesToHexText(digest.data(), digest.size());
    });
    return digestText;
}
