#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The registry: keys named by Windows key paths ("Software\Quillomber") under a root, each
// holding named values that keep their type. The store is one text file under
// $XDG_CONFIG_HOME/quillomber (default ~/.config/quillomber), read at every call and
// replaced atomically at every change, so a failed change leaves the old store whole.
// Key paths and value names are compared ignoring ASCII letter case; a leading, trailing
// or doubled "\" in a key path is ignored, and the empty path is the root itself.
// Every call sets the last error: 2 for a missing key or value, 1009 for a store file that
// cannot be understood (it is then never overwritten).
namespace host {

enum class RegistryRoot
{
    CurrentUser,
    LocalMachine
};

enum class RegistryType
{
    String,
    Number
};

struct RegistryValue
{
    RegistryType Type = RegistryType::String;
    std::string Text;
    uint32_t Number = 0;

    static RegistryValue OfText(const std::string& text) { return {RegistryType::String, text, 0}; }
    static RegistryValue OfNumber(uint32_t number) { return {RegistryType::Number, {}, number}; }
    bool operator==(const RegistryValue&) const = default;
};

// The host path of the store file; empty when neither $XDG_CONFIG_HOME nor $HOME is set.
std::string GetRegistryHostFile();

bool RegistryKeyExists(RegistryRoot root, const std::string& keyPath);
// Creates the key with its missing parents; true also when it was there already.
bool CreateRegistryKey(RegistryRoot root, const std::string& keyPath);
std::optional<RegistryValue> ReadRegistryValue(RegistryRoot root, const std::string& keyPath,
                                               const std::string& valueName);
// Writes into an existing key, replacing a value of the same name whatever its type.
bool WriteRegistryValue(RegistryRoot root, const std::string& keyPath, const std::string& valueName,
                        const RegistryValue& value);
// Deletes the key with all its sub-keys and values. A root cannot be deleted (5).
bool DeleteRegistryKey(RegistryRoot root, const std::string& keyPath);
// Deletes one value of the key; a missing key or value fails (2).
bool DeleteRegistryValue(RegistryRoot root, const std::string& keyPath, const std::string& valueName);

} // namespace host
