#include "core/settings/OptionChoices.h"

std::vector<int32_t> ChoiceRuns(std::initializer_list<TChoiceRun> runs)
{
    std::vector<int32_t> values;
    for (const TChoiceRun& run : runs)
        for (int32_t value = run.First; value <= run.Last; value += run.Step)
            values.push_back(value);
    return values;
}

const std::vector<int32_t>& ScrollChoices()
{
    static const std::vector<int32_t> values = ChoiceRuns({{3, 20}});
    return values;
}

const std::vector<int32_t>& FontSizeChoices()
{
    static const std::vector<int32_t> values = ChoiceRuns({{8, 30}, {32, 32}, {35, 35}, {38, 38}, {40, 40}});
    return values;
}

const std::vector<int32_t>& ExtraHeightChoices()
{
    static const std::vector<int32_t> values = ChoiceRuns({{0, 30, 2}, {36, 36}, {40, 40}, {46, 46}, {50, 50}});
    return values;
}

const std::vector<int32_t>& TypeWidthChoices()
{
    static const std::vector<int32_t> values = ChoiceRuns({{100, 200, 10}, {225, 400, 25}});
    return values;
}

const std::vector<int32_t>& CacheChoices()
{
    static const std::vector<int32_t> values = ChoiceRuns({{10000000, 100000000, 10000000}});
    return values;
}

const std::vector<int32_t>& QualityChoices()
{
    static const std::vector<int32_t> values = ChoiceRuns({{-1, -1}, {100, 500, 50}, {600, 1000, 100}});
    return values;
}

const std::vector<int32_t>& HoverDelayChoices()
{
    static const std::vector<int32_t> values = ChoiceRuns({{2, 10}, {12, 12}, {15, 15}});
    return values;
}

const std::vector<int32_t>& StartShiftChoices()
{
    static const std::vector<int32_t> values = ChoiceRuns({{0, 5}, {10, 30, 5}, {40, 90, 10}, {95, 95}});
    return values;
}

const std::vector<int32_t>& HoverSensitivityChoices()
{
    static const std::vector<int32_t> values = ChoiceRuns({{3, 10}, {15, 15}, {20, 20}});
    return values;
}

const std::vector<int32_t>& HoverWidthChoices()
{
    static const std::vector<int32_t> values =
        ChoiceRuns({{50, 150, 10}, {180, 180}, {200, 200}, {250, 250}, {300, 300}, {350, 350}, {400, 400}, {500, 500}});
    return values;
}

const std::vector<int32_t>& HoverHeightChoices()
{
    static const std::vector<int32_t> values = ChoiceRuns({{1, 10}, {12, 12}, {15, 15}, {18, 18}, {20, 20}});
    return values;
}

const std::vector<std::string>& ClickOperationNames()
{
    static const std::vector<std::string> names = {"Delete",
                                                   "Edit",
                                                   "Edit streams",
                                                   "Edit streams (autoload)",
                                                   "File menu",
                                                   "Inter-board file-drag menu",
                                                   "None",
                                                   "Properties",
                                                   "Recycle file",
                                                   "Recycle item",
                                                   "Rename file",
                                                   "Rename item",
                                                   "Run",
                                                   "Run maximized",
                                                   "Set as background",
                                                   "Set as wallpaper",
                                                   "System menu",
                                                   "Toggle down selection",
                                                   "Toggle selection",
                                                   "Toggle up selection",
                                                   "View"};
    return names;
}

const std::vector<std::string>& DragOperationNames()
{
    static const std::vector<std::string> names = {"Convert picture",
                                                   "Copy",
                                                   "Copy as",
                                                   "Copy as last numbered",
                                                   "Copy as link",
                                                   "Drop-convert picture",
                                                   "Drop-copy",
                                                   "Drop-move",
                                                   "Enter this directory",
                                                   "File-drag menu",
                                                   "Insert item",
                                                   "Move",
                                                   "Move as",
                                                   "Move as last numbered",
                                                   "None",
                                                   "Search duplicates",
                                                   "Set with source path",
                                                   "Switch columns",
                                                   "System-drag menu"};
    return names;
}

const std::vector<std::string>& HeaderOperationNames()
{
    static const std::vector<std::string> names = {"Directory tree navigator dialog", "Enter parent directory",
                                                   "Parent System menu", "Toggle fixed attribute",
                                                   "Toggle thumbnails attribute"};
    return names;
}
