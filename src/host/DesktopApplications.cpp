#include "host/DesktopApplications.h"

#include "host/Drives.h"
#include "host/Shell.h"

#include <QMimeDatabase>
#include <QStandardPaths>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <unistd.h>

namespace host {
namespace {

namespace fs = std::filesystem;

using TypeLists = std::map<std::string, std::vector<std::string>>;

struct DesktopEntry
{
    DesktopApplication Application;
    std::vector<std::string> MimeTypes;
    bool Usable = false;
};

// The user's choices, the files of higher precedence first.
struct MimeAppsChoices
{
    TypeLists Defaults;
    TypeLists Added;
    TypeLists Removed;
};

std::string EnvironmentValue(const char* name)
{
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

std::vector<std::string> SplitList(const std::string& text, char separator)
{
    std::vector<std::string> items;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = std::min(text.find(separator, start), text.size());
        if (end > start)
            items.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return items;
}

// The user's folder first, then the system's, as the XDG base directories define them.
std::vector<std::string> XdgFolders(const char* homeVariable, const std::string& homeDefault,
                                    const char* systemVariable, const std::string& systemDefault)
{
    std::string home = EnvironmentValue(homeVariable);
    if (home.empty())
        home = EnvironmentValue("HOME") + homeDefault;
    std::string system = EnvironmentValue(systemVariable);
    if (system.empty())
        system = systemDefault;
    std::vector<std::string> folders{home};
    for (const std::string& folder : SplitList(system, ':'))
        folders.push_back(folder);
    return folders;
}

std::vector<std::string> DataFolders()
{
    return XdgFolders("XDG_DATA_HOME", "/.local/share", "XDG_DATA_DIRS", "/usr/local/share:/usr/share");
}

std::vector<std::string> ConfigFolders()
{
    return XdgFolders("XDG_CONFIG_HOME", "/.config", "XDG_CONFIG_DIRS", "/etc/xdg");
}

std::string Trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// Calls `take` with the group, key and value of each "key=value" line of a key file.
void ReadKeyFile(const std::string& hostPath,
                 const std::function<void(const std::string&, const std::string&, const std::string&)>& take)
{
    std::ifstream file(hostPath);
    std::string group;
    std::string line;
    while (std::getline(file, line)) {
        line = Trimmed(line);
        if (line.empty() || line[0] == '#')
            continue;
        if (line.front() == '[' && line.back() == ']') {
            group = line.substr(1, line.size() - 2);
            continue;
        }
        const size_t equals = line.find('=');
        if (equals != std::string::npos)
            take(group, Trimmed(line.substr(0, equals)), Trimmed(line.substr(equals + 1)));
    }
}

char UnescapedCharacter(char escaped)
{
    switch (escaped) {
    case 's':
        return ' ';
    case 'n':
        return '\n';
    case 't':
        return '\t';
    case 'r':
        return '\r';
    default:
        return escaped;
    }
}

// The escapes of a key file's string values: \s \n \t \r \\.
std::string UnescapeValue(const std::string& value)
{
    std::string result;
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size())
            result += value[i];
        else
            result += UnescapedCharacter(value[++i]);
    }
    return result;
}

bool CanRun(const std::string& program)
{
    if (program.find('/') != std::string::npos)
        return access(program.c_str(), X_OK) == 0;
    return !QStandardPaths::findExecutable(QString::fromStdString(program)).isEmpty();
}

DesktopEntry ReadDesktopEntry(const std::string& id, const std::string& hostPath)
{
    DesktopEntry entry;
    entry.Application.Id = id;
    entry.Application.EntryFile = hostPath;
    std::map<std::string, std::string> keys;
    ReadKeyFile(hostPath, [&](const std::string& group, const std::string& key, const std::string& value) {
        if (group == "Desktop Entry")
            keys.emplace(key, UnescapeValue(value));
    });
    entry.Application.Name = keys["Name"];
    entry.Application.Exec = keys["Exec"];
    entry.Application.Icon = keys["Icon"];
    entry.Application.Terminal = keys["Terminal"] == "true";
    entry.MimeTypes = SplitList(keys["MimeType"], ';');
    entry.Usable = keys["Type"] == "Application" && !entry.Application.Exec.empty() && keys["Hidden"] != "true" &&
                   (keys["TryExec"].empty() || CanRun(keys["TryExec"]));
    return entry;
}

// Every entry by its ID; an entry of a folder of higher precedence hides one of the same
// ID further down, also when it is hidden itself.
std::map<std::string, DesktopEntry> ReadDesktopEntries()
{
    std::map<std::string, DesktopEntry> entries;
    for (const std::string& dataFolder : DataFolders()) {
        const fs::path folder = fs::path(dataFolder) / "applications";
        std::error_code error;
        for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
            if (it->path().extension() != ".desktop" || !it->is_regular_file(error))
                continue;
            std::string id = it->path().lexically_relative(folder).string();
            std::replace(id.begin(), id.end(), '/', '-');
            if (!entries.contains(id))
                entries.emplace(id, ReadDesktopEntry(id, it->path().string()));
        }
    }
    return entries;
}

MimeAppsChoices ReadMimeAppsChoices()
{
    std::vector<std::string> files;
    for (const std::string& folder : ConfigFolders())
        files.push_back(folder + "/mimeapps.list");
    for (const std::string& folder : DataFolders())
        files.push_back(folder + "/applications/mimeapps.list");
    MimeAppsChoices choices;
    const std::map<std::string, TypeLists*> groups{{"Default Applications", &choices.Defaults},
                                                   {"Added Associations", &choices.Added},
                                                   {"Removed Associations", &choices.Removed}};
    for (const std::string& file : files) {
        ReadKeyFile(file, [&](const std::string& group, const std::string& type, const std::string& value) {
            const auto found = groups.find(group);
            if (found == groups.end())
                return;
            std::vector<std::string>& ids = (*found->second)[type];
            for (const std::string& id : SplitList(value, ';'))
                ids.push_back(id);
        });
    }
    return choices;
}

// The type with its aliases, then every broader type it belongs to.
std::vector<std::string> TypeWithBroaderTypes(const QMimeType& type)
{
    std::vector<std::string> types{type.name().toStdString()};
    for (const QString& name : type.aliases() + type.allAncestors())
        types.push_back(name.toStdString());
    return types;
}

bool Contains(const std::vector<std::string>& ids, const std::string& id)
{
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

bool Contains(const TypeLists& lists, const std::string& type, const std::string& id)
{
    const auto found = lists.find(type);
    return found != lists.end() && Contains(found->second, id);
}

std::vector<std::string> ApplicationIdsForTypes(const std::vector<std::string>& types,
                                                const std::map<std::string, DesktopEntry>& entries,
                                                const MimeAppsChoices& choices)
{
    std::vector<std::string> ids;
    const auto offer = [&](const std::string& type, const std::string& id) {
        const auto entry = entries.find(id);
        if (entry != entries.end() && entry->second.Usable && !Contains(choices.Removed, type, id) &&
            !Contains(ids, id))
            ids.push_back(id);
    };
    for (const std::string& type : types) {
        for (const TypeLists* lists : {&choices.Defaults, &choices.Added})
            if (const auto found = lists->find(type); found != lists->end())
                for (const std::string& id : found->second)
                    offer(type, id);
        std::vector<const DesktopEntry*> registered;
        for (const auto& [id, entry] : entries)
            if (Contains(entry.MimeTypes, type))
                registered.push_back(&entry);
        std::stable_sort(registered.begin(), registered.end(), [](const DesktopEntry* a, const DesktopEntry* b) {
            return a->Application.Name < b->Application.Name;
        });
        for (const DesktopEntry* entry : registered)
            offer(type, entry->Application.Id);
    }
    return ids;
}

struct ExecToken
{
    std::string Text;
    bool Quoted = false;
};

// The Exec line's arguments: blanks separate, and inside quotation marks a backslash
// escapes " ` $ and itself.
std::vector<ExecToken> TokenizeExec(const std::string& exec)
{
    std::vector<ExecToken> tokens;
    ExecToken current;
    bool inToken = false;
    bool quoted = false;
    for (size_t i = 0; i < exec.size(); ++i) {
        const char c = exec[i];
        if (quoted) {
            if (c == '"')
                quoted = false;
            else if (c == '\\' && i + 1 < exec.size())
                current.Text += exec[++i];
            else
                current.Text += c;
        } else if (c == ' ' || c == '\t') {
            if (inToken)
                tokens.push_back(std::move(current));
            current = ExecToken();
            inToken = false;
        } else if (c == '"') {
            quoted = current.Quoted = inToken = true;
        } else {
            current.Text += c;
            inToken = true;
        }
    }
    if (inToken)
        tokens.push_back(std::move(current));
    return tokens;
}

bool HoldsCode(const ExecToken& token, const char* code)
{
    return !token.Quoted && token.Text.find(code) != std::string::npos;
}

bool TakesOneFile(const std::vector<ExecToken>& tokens)
{
    return std::any_of(tokens.begin(), tokens.end(),
                       [](const ExecToken& token) { return HoldsCode(token, "%f") || HoldsCode(token, "%u"); });
}

bool TakesFiles(const std::vector<ExecToken>& tokens)
{
    return TakesOneFile(tokens) || std::any_of(tokens.begin(), tokens.end(), [](const ExecToken& token) {
               return !token.Quoted && (token.Text == "%F" || token.Text == "%U");
           });
}

// How a file reaches the application: for "%u" and "%U" as a URI, or as given.
enum class FileForm
{
    AsTheCodeAsks,
    AsGiven
};

std::string FileForCode(const std::string& file, bool uri, FileForm form)
{
    return uri && form == FileForm::AsTheCodeAsks ? HostPathToUri(file) : file;
}

// One argument with its field codes filled in; codes this system does not know vanish.
std::string ExpandFieldCodes(const std::string& text, const DesktopApplication& application,
                             const std::vector<std::string>& hostPaths, FileForm form)
{
    std::string result;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%' || i + 1 == text.size()) {
            result += text[i];
            continue;
        }
        switch (text[++i]) {
        case '%':
            result += '%';
            break;
        case 'f':
            result += hostPaths.empty() ? std::string() : hostPaths.front();
            break;
        case 'u':
            result += hostPaths.empty() ? std::string() : FileForCode(hostPaths.front(), true, form);
            break;
        case 'c':
            result += application.Name;
            break;
        case 'k':
            result += application.EntryFile;
            break;
        default:
            break;
        }
    }
    return result;
}

// Inside quotation marks no field code is filled in, yet a "%" is still written doubled.
std::string UndoubledPercents(const std::string& text)
{
    std::string result;
    for (size_t i = 0; i < text.size(); ++i) {
        result += text[i];
        if (text[i] == '%' && i + 1 < text.size() && text[i + 1] == '%')
            ++i;
    }
    return result;
}

std::vector<std::string> CommandFor(const std::vector<ExecToken>& tokens, const DesktopApplication& application,
                                    const std::vector<std::string>& hostPaths, FileForm form = FileForm::AsTheCodeAsks)
{
    std::vector<std::string> command;
    for (const ExecToken& token : tokens) {
        if (token.Quoted) {
            command.push_back(UndoubledPercents(token.Text));
        } else if (token.Text == "%F" || token.Text == "%U") {
            for (const std::string& file : hostPaths)
                command.push_back(FileForCode(file, token.Text == "%U", form));
        } else if (token.Text == "%i") {
            if (!application.Icon.empty())
                command.insert(command.end(), {"--icon", application.Icon});
        } else if (std::string argument = ExpandFieldCodes(token.Text, application, hostPaths, form);
                   !argument.empty()) {
            command.push_back(std::move(argument));
        }
    }
    // A line without a file code gets the files at its end.
    if (!TakesFiles(tokens))
        command.insert(command.end(), hostPaths.begin(), hostPaths.end());
    return command;
}

} // namespace

std::vector<DesktopApplication> GetApplicationsForFiles(const std::vector<std::string>& windowsPaths)
{
    const std::map<std::string, DesktopEntry> entries = ReadDesktopEntries();
    const MimeAppsChoices choices = ReadMimeAppsChoices();
    std::vector<std::string> common;
    for (size_t i = 0; i < windowsPaths.size(); ++i) {
        const std::optional<std::string> hostPath = WindowsToHost(windowsPaths[i]);
        if (!hostPath)
            return {};
        const std::vector<std::string> ids = ApplicationIdsForTypes(
            TypeWithBroaderTypes(QMimeDatabase().mimeTypeForFile(QString::fromStdString(*hostPath))), entries, choices);
        if (i == 0)
            common = ids;
        else
            std::erase_if(common, [&](const std::string& id) { return !Contains(ids, id); });
    }
    std::vector<DesktopApplication> applications;
    for (const std::string& id : common)
        applications.push_back(entries.at(id).Application);
    return applications;
}

std::vector<DesktopApplication> ApplicationsForType(const std::string& typeName)
{
    const QMimeType type = QMimeDatabase().mimeTypeForName(QString::fromStdString(typeName));
    if (!type.isValid())
        return {};
    const std::map<std::string, DesktopEntry> entries = ReadDesktopEntries();
    std::vector<DesktopApplication> applications;
    for (const std::string& id : ApplicationIdsForTypes(TypeWithBroaderTypes(type), entries, ReadMimeAppsChoices()))
        applications.push_back(entries.at(id).Application);
    return applications;
}

std::optional<DesktopApplication> FindApplication(const std::string& id)
{
    const std::map<std::string, DesktopEntry> entries = ReadDesktopEntries();
    const auto found = entries.find(id);
    if (found == entries.end() || !found->second.Usable)
        return std::nullopt;
    return found->second.Application;
}

std::vector<std::vector<std::string>> ExpandExecLine(const DesktopApplication& application,
                                                     const std::vector<std::string>& hostPaths)
{
    const std::vector<ExecToken> tokens = TokenizeExec(application.Exec);
    if (tokens.empty())
        return {};
    if (!TakesOneFile(tokens) || hostPaths.size() <= 1)
        return {CommandFor(tokens, application, hostPaths)};
    std::vector<std::vector<std::string>> commands;
    for (const std::string& path : hostPaths)
        commands.push_back(CommandFor(tokens, application, {path}));
    return commands;
}

std::vector<std::string> ExecCommandForFile(const DesktopApplication& application, const std::string& file)
{
    const std::vector<ExecToken> tokens = TokenizeExec(application.Exec);
    if (tokens.empty())
        return {};
    std::vector<std::string> command = CommandFor(tokens, application, {file}, FileForm::AsGiven);
    if (command.front().find('/') == std::string::npos) {
        const QString found = QStandardPaths::findExecutable(QString::fromStdString(command.front()));
        if (found.isEmpty())
            return {};
        command.front() = found.toStdString();
    }
    return command;
}

} // namespace host
