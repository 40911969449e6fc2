#include "columns/FileParameters.h"

#include "columns/Column.h"
#include "columns/MainWindowServices.h"

#include "core/files/KnownFolders.h"
#include "core/files/LinkFile.h"
#include "core/files/PathNames.h"

#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace {

// A text being expanded: the pieces of the template, which the passes search, and the
// values put in place of placeholders, which no pass searches.
class TParameterText
{
public:
    explicit TParameterText(const std::string& text) : Pieces{{text, true}} {}

    // Every occurrence in the template, in one scan from left to right; the value is
    // asked for once, at the first occurrence. A template value ("%" for "%%") joins
    // the template, so the later passes search it.
    void Replace(std::string_view placeholder, const std::function<std::string()>& value, bool templateValue = false)
    {
        std::optional<std::string> known;
        std::vector<TPiece> result;
        for (TPiece& piece : Pieces) {
            if (!piece.Template) {
                result.push_back(std::move(piece));
                continue;
            }
            size_t from = 0;
            for (size_t found = piece.Text.find(placeholder); found != std::string::npos;
                 found = piece.Text.find(placeholder, from)) {
                if (!known)
                    known = value();
                result.push_back({piece.Text.substr(from, found - from), true});
                result.push_back({*known, templateValue});
                from = found + placeholder.size();
            }
            result.push_back({piece.Text.substr(from), true});
        }
        Pieces = JoinTemplatePieces(std::move(result));
    }

    // Removes the first occurrence in the template; false when there is none.
    bool RemoveFirst(std::string_view placeholder)
    {
        for (TPiece& piece : Pieces) {
            const size_t found = piece.Template ? piece.Text.find(placeholder) : std::string::npos;
            if (found != std::string::npos) {
                piece.Text.erase(found, placeholder.size());
                return true;
            }
        }
        return false;
    }

    std::string Text() const
    {
        std::string text;
        for (const TPiece& piece : Pieces)
            text += piece.Text;
        return text;
    }

private:
    struct TPiece
    {
        std::string Text;
        bool Template;
    };

    // Neighbouring template pieces become one, so that a placeholder that a removal or a
    // template value completes is found by the next pass.
    static std::vector<TPiece> JoinTemplatePieces(std::vector<TPiece> pieces)
    {
        std::vector<TPiece> joined;
        for (TPiece& piece : pieces) {
            if (piece.Text.empty())
                continue;
            if (!joined.empty() && joined.back().Template && piece.Template)
                joined.back().Text += piece.Text;
            else
                joined.push_back(std::move(piece));
        }
        return joined;
    }

    std::vector<TPiece> Pieces;
};

// The eight values of one path; its reference is looked up once, when asked for.
class TFileValues
{
public:
    explicit TFileValues(const std::string& path) : Path(path) {}

    const std::string& Reference()
    {
        if (!KnownReference)
            KnownReference = GetWhenReference(Path);
        return *KnownReference;
    }

    void ExpandInto(TParameterText& text, const std::string& prefix)
    {
        text.Replace("%" + prefix + "t%", [&] { return Path; });
        text.Replace("%" + prefix + "r%", [&] { return Reference(); });
        text.Replace("%" + prefix + "p%", [&] { return GetParentPath(Path); });
        text.Replace("%" + prefix + "rp%", [&] { return GetParentPath(Reference()); });
        text.Replace("%" + prefix + "t-e%", [&] { return ExcludeExtension(Path); });
        text.Replace("%" + prefix + "n%", [&] { return GetPathName(Path); });
        text.Replace("%" + prefix + "n-e%", [&] { return ExcludeExtension(GetPathName(Path)); });
        text.Replace("%" + prefix + "e%", [&] { return GetExtension(Path); });
    }

private:
    const std::string& Path;
    std::optional<std::string> KnownReference;
};

void ClipDragSourceSelection(bool references)
{
    if (TColumn* column = FindDragSourceColumn())
        column->Com_ClipSelectedFiles(references);
}

void ExpandFilePlaceholders(TParameterText& text, const std::string& source, const std::string& destination)
{
    TFileValues(source).ExpandInto(text, "");
    TFileValues(destination).ExpandInto(text, "d");
    if (text.RemoveFirst("%t_cl%"))
        ClipDragSourceSelection(false);
    if (text.RemoveFirst("%r_cl%"))
        ClipDragSourceSelection(true);
}

// The directory listed by the board column: "" for the drives, or for no column.
std::string GetBoardColumnDirectory(int32_t index)
{
    const TColumn* column = TSeam<TMainWindowServices>::Get().GetColumn(index);
    return column != nullptr ? GetParentPath(column->ActiveTitle) : std::string();
}

void ExpandPathPlaceholders(TParameterText& text)
{
    text.Replace(
        "%%", [] { return std::string("%"); }, true);
    text.Replace("%phOper%", GetOperatorPath);
    text.Replace("%phSys%", GetSystemPath);
    text.Replace("%phTemp%", GetTempPathA);
    text.Replace("%phDesk%", GetDesktopPath);
    text.Replace("%phDocs%", GetDocumentsPath);
    text.Replace("%phProgLinks%", GetProgramLinksPath);
    text.Replace("%phProgFiles%", GetProgramFilesPath);
    text.Replace("%phFavor%", GetFavoritesPath);
    for (int32_t i = 0; i < MaxVisibleColumns; ++i)
        text.Replace("%phCol" + std::to_string(i + 1) + "%", [i] { return GetBoardColumnDirectory(i); });
    text.Replace("%SystemRoot%", GetOperatorPath);
    text.Replace("%ProgramFiles%", GetProgramFilesPath);
}

} // namespace

std::string ExpandFileParameters(const std::string& text, const std::string& source, const std::string& destination)
{
    TParameterText expanded(text);
    ExpandFilePlaceholders(expanded, source, destination);
    return expanded.Text();
}

std::string ExpandPathParameters(const std::string& text)
{
    TParameterText expanded(text);
    ExpandPathPlaceholders(expanded);
    return expanded.Text();
}

std::string ExpandFileAndPathParameters(const std::string& text, const std::string& source,
                                        const std::string& destination)
{
    TParameterText expanded(text);
    ExpandFilePlaceholders(expanded, source, destination);
    ExpandPathPlaceholders(expanded);
    return expanded.Text();
}
