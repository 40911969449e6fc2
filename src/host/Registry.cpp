#include "host/Registry.h"

#include "host/File.h"
#include "host/LastError.h"
#include "host/Process.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>
#include <unordered_map>
#include <vector>

// The store file, one block per key, the value texts escaped so each value stays on its line:
//
//     [HKEY_CURRENT_USER\Software\Quillomber]
//     "OptionsPath"="D:\\Settings\\"
//     "Runs"=dword:0000002a
namespace host {
namespace {

struct TRootName
{
    RegistryRoot Root;
    const char* Name;
};

constexpr TRootName RootNames[] = {
    {RegistryRoot::CurrentUser, "HKEY_CURRENT_USER"},
    {RegistryRoot::LocalMachine, "HKEY_LOCAL_MACHINE"},
};

constexpr std::string_view NumberPrefix = "dword:";

struct TNamedValue
{
    std::string Name;
    RegistryValue Value;
};

struct TKey
{
    RegistryRoot Root;
    std::string Path;
    std::vector<TNamedValue> Values;
};

// The store lives below the core layer, so it folds letters itself.
char FoldAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The keys in file order, indexed by root and folded path so that finding a key never
// walks the store.
class TStore
{
public:
    const std::vector<TKey>& Keys() const { return AllKeys; }

    TKey* Find(RegistryRoot root, const std::string& path)
    {
        const auto found = Index.find(IndexName(root, path));
        return found == Index.end() ? nullptr : &AllKeys[found->second];
    }

    // A key that is not there yet.
    TKey& Add(RegistryRoot root, const std::string& path)
    {
        Index.emplace(IndexName(root, path), AllKeys.size());
        AllKeys.push_back(TKey{root, path, {}});
        return AllKeys.back();
    }

    template <class Predicate>
    void EraseIf(Predicate predicate)
    {
        std::erase_if(AllKeys, predicate);
        Index.clear();
        for (size_t i = 0; i < AllKeys.size(); ++i)
            Index.emplace(IndexName(AllKeys[i].Root, AllKeys[i].Path), i);
    }

private:
    static std::string IndexName(RegistryRoot root, const std::string& path)
    {
        std::string name(1, static_cast<char>('0' + static_cast<int>(root)));
        name.reserve(path.size() + 1);
        for (const char c : path)
            name += FoldAscii(c);
        return name;
    }

    std::vector<TKey> AllKeys;
    std::unordered_map<std::string, size_t> Index;
};

bool SameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return FoldAscii(x) == FoldAscii(y); });
}

std::string NormalKeyPath(const std::string& keyPath)
{
    std::string path;
    size_t start = 0;
    while (start <= keyPath.size()) {
        size_t end = keyPath.find('\\', start);
        if (end == std::string::npos)
            end = keyPath.size();
        if (end > start)
            path += (path.empty() ? "" : "\\") + keyPath.substr(start, end - start);
        start = end + 1;
    }
    return path;
}

// True when `path` is `ancestor` or lies below it.
bool IsKeyAtOrBelow(const std::string& path, const std::string& ancestor)
{
    if (ancestor.empty())
        return true;
    if (path.size() == ancestor.size())
        return SameName(path, ancestor);
    return path.size() > ancestor.size() && path[ancestor.size()] == '\\' &&
           SameName(std::string_view(path).substr(0, ancestor.size()), ancestor);
}

// A key exists when it was written or when a key below it was: the root always exists.
bool KeyExists(const TStore& store, RegistryRoot root, const std::string& path)
{
    return path.empty() || std::any_of(store.Keys().begin(), store.Keys().end(), [&](const TKey& key) {
               return key.Root == root && IsKeyAtOrBelow(key.Path, path);
           });
}

TKey& AddKeyWithParents(TStore& store, RegistryRoot root, const std::string& path)
{
    for (size_t separator = path.find('\\'); separator != std::string::npos; separator = path.find('\\', separator + 1))
        if (store.Find(root, path.substr(0, separator)) == nullptr)
            store.Add(root, path.substr(0, separator));
    if (TKey* key = store.Find(root, path))
        return *key;
    return store.Add(root, path);
}

std::string QuotedText(const std::string& text)
{
    std::string quoted = "\"";
    for (const char c : text) {
        switch (c) {
        case '\\':
            quoted += "\\\\";
            break;
        case '"':
            quoted += "\\\"";
            break;
        case '\n':
            quoted += "\\n";
            break;
        case '\r':
            quoted += "\\r";
            break;
        default:
            quoted += c;
        }
    }
    return quoted + "\"";
}

std::string NumberText(uint32_t number)
{
    static const char digits[] = "0123456789abcdef";
    std::string text(NumberPrefix);
    for (int shift = 28; shift >= 0; shift -= 4)
        text += digits[(number >> shift) & 0xF];
    return text;
}

std::string StoreText(const TStore& store)
{
    std::string text;
    for (const TKey& key : store.Keys()) {
        const TRootName& root = RootNames[static_cast<size_t>(key.Root)];
        text += "[" + std::string(root.Name) + (key.Path.empty() ? "" : "\\" + key.Path) + "]\n";
        for (const TNamedValue& value : key.Values) {
            const bool isText = value.Value.Type == RegistryType::String;
            text += QuotedText(value.Name) + "=" +
                    (isText ? QuotedText(value.Value.Text) : NumberText(value.Value.Number)) + "\n";
        }
        text += "\n";
    }
    return text;
}

// Reads a quoted text starting at `position` (at its opening quote) and moves past it.
std::optional<std::string> ParseQuoted(std::string_view line, size_t& position)
{
    if (position >= line.size() || line[position] != '"')
        return std::nullopt;
    std::string text;
    for (size_t i = position + 1; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"') {
            position = i + 1;
            return text;
        }
        if (c != '\\') {
            text += c;
            continue;
        }
        if (++i == line.size())
            return std::nullopt;
        switch (line[i]) {
        case '\\':
        case '"':
            text += line[i];
            break;
        case 'n':
            text += '\n';
            break;
        case 'r':
            text += '\r';
            break;
        default:
            return std::nullopt;
        }
    }
    return std::nullopt;
}

std::optional<uint32_t> ParseNumber(std::string_view text)
{
    if (text.size() != 8)
        return std::nullopt;
    uint32_t number = 0;
    for (const char c : text) {
        const char folded = FoldAscii(c);
        if (folded >= '0' && folded <= '9')
            number = number << 4 | static_cast<uint32_t>(folded - '0');
        else if (folded >= 'a' && folded <= 'f')
            number = number << 4 | static_cast<uint32_t>(folded - 'a' + 10);
        else
            return std::nullopt;
    }
    return number;
}

std::optional<TNamedValue> ParseValueLine(std::string_view line)
{
    size_t position = 0;
    std::optional<std::string> name = ParseQuoted(line, position);
    if (!name || position >= line.size() || line[position] != '=')
        return std::nullopt;
    ++position;
    if (line.substr(position).starts_with(NumberPrefix)) {
        const std::optional<uint32_t> number = ParseNumber(line.substr(position + NumberPrefix.size()));
        if (!number)
            return std::nullopt;
        return TNamedValue{std::move(*name), RegistryValue::OfNumber(*number)};
    }
    std::optional<std::string> text = ParseQuoted(line, position);
    if (!text || position != line.size())
        return std::nullopt;
    return TNamedValue{std::move(*name), RegistryValue::OfText(*text)};
}

TKey* ParseKeyLine(TStore& store, std::string_view line)
{
    const std::string_view inner = line.substr(1, line.size() - 2);
    const size_t separator = inner.find('\\');
    const std::string_view rootName = inner.substr(0, separator);
    for (const TRootName& root : RootNames)
        if (SameName(rootName, root.Name)) {
            const std::string path = separator == std::string_view::npos ? "" : std::string(inner.substr(separator));
            return &AddKeyWithParents(store, root.Root, NormalKeyPath(path));
        }
    return nullptr;
}

void SetValue(TKey& key, const std::string& name, const RegistryValue& value)
{
    for (TNamedValue& existing : key.Values)
        if (SameName(existing.Name, name)) {
            existing = TNamedValue{name, value};
            return;
        }
    key.Values.push_back(TNamedValue{name, value});
}

std::optional<TStore> ParseStore(const std::string& text)
{
    TStore store;
    // Valid until the next key line, the only kind of line that adds keys.
    TKey* key = nullptr;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string_view line = std::string_view(text).substr(start, end - start);
        start = end + 1;
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        if (line.empty())
            continue;
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            TKey* found = ParseKeyLine(store, line);
            if (found == nullptr)
                return std::nullopt;
            key = found;
            continue;
        }
        std::optional<TNamedValue> value = ParseValueLine(line);
        if (!value || key == nullptr)
            return std::nullopt;
        SetValue(*key, value->Name, value->Value);
    }
    return store;
}

std::string ConfigurationHostFolder()
{
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    if (configHome != nullptr && configHome[0] == '/')
        return std::string(configHome) + "/quillomber";
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/')
        return std::string(home) + "/.config/quillomber";
    return {};
}

std::optional<TStore> LoadStore()
{
    const std::string file = GetRegistryHostFile();
    if (file.empty()) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return std::nullopt;
    }
    const std::optional<std::string> text = ReadHostFileContents(file);
    if (!text) {
        const uint32_t error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            SetLastError(ERROR_SUCCESS);
            return TStore{};
        }
        return std::nullopt;
    }
    std::optional<TStore> store = ParseStore(*text);
    SetLastError(store ? ERROR_SUCCESS : ERROR_BADDB);
    return store;
}

bool SaveStore(const TStore& store)
{
    return MakeHostFolders(ConfigurationHostFolder(), 0700) &&
           ReplaceHostFileContents(GetRegistryHostFile(), StoreText(store));
}

bool FailWith(uint32_t error)
{
    SetLastError(error);
    return false;
}

// A key name holds no control characters: the store keeps one key per line.
bool IsValidKeyPath(const std::string& path)
{
    return std::none_of(path.begin(), path.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

} // namespace

std::string GetRegistryHostFile()
{
    const std::string folder = ConfigurationHostFolder();
    return folder.empty() ? std::string() : folder + "/registry";
}

bool RegistryKeyExists(RegistryRoot root, const std::string& keyPath)
{
    const std::optional<TStore> store = LoadStore();
    if (!store)
        return false;
    return KeyExists(*store, root, NormalKeyPath(keyPath)) || FailWith(ERROR_FILE_NOT_FOUND);
}

bool CreateRegistryKey(RegistryRoot root, const std::string& keyPath)
{
    std::optional<TStore> store = LoadStore();
    if (!store)
        return false;
    const std::string path = NormalKeyPath(keyPath);
    if (!IsValidKeyPath(path))
        return FailWith(ERROR_INVALID_NAME);
    if (path.empty() || store->Find(root, path) != nullptr)
        return true;
    AddKeyWithParents(*store, root, path);
    return SaveStore(*store);
}

std::optional<RegistryValue> ReadRegistryValue(RegistryRoot root, const std::string& keyPath,
                                               const std::string& valueName)
{
    std::optional<TStore> store = LoadStore();
    if (!store)
        return std::nullopt;
    if (const TKey* key = store->Find(root, NormalKeyPath(keyPath)))
        for (const TNamedValue& value : key->Values)
            if (SameName(value.Name, valueName))
                return value.Value;
    SetLastError(ERROR_FILE_NOT_FOUND);
    return std::nullopt;
}

bool WriteRegistryValue(RegistryRoot root, const std::string& keyPath, const std::string& valueName,
                        const RegistryValue& value)
{
    std::optional<TStore> store = LoadStore();
    if (!store)
        return false;
    const std::string path = NormalKeyPath(keyPath);
    if (!KeyExists(*store, root, path))
        return FailWith(ERROR_FILE_NOT_FOUND);
    SetValue(AddKeyWithParents(*store, root, path), valueName, value);
    return SaveStore(*store);
}

bool DeleteRegistryKey(RegistryRoot root, const std::string& keyPath)
{
    std::optional<TStore> store = LoadStore();
    if (!store)
        return false;
    const std::string path = NormalKeyPath(keyPath);
    if (path.empty())
        return FailWith(ERROR_ACCESS_DENIED);
    if (!KeyExists(*store, root, path))
        return FailWith(ERROR_FILE_NOT_FOUND);
    store->EraseIf([&](const TKey& key) { return key.Root == root && IsKeyAtOrBelow(key.Path, path); });
    return SaveStore(*store);
}

bool DeleteRegistryValue(RegistryRoot root, const std::string& keyPath, const std::string& valueName)
{
    std::optional<TStore> store = LoadStore();
    if (!store)
        return false;
    TKey* key = store->Find(root, NormalKeyPath(keyPath));
    if (key == nullptr ||
        std::erase_if(key->Values, [&](const TNamedValue& value) { return SameName(value.Name, valueName); }) == 0)
        return FailWith(ERROR_FILE_NOT_FOUND);
    return SaveStore(*store);
}

} // namespace host
