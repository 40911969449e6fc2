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

const std::vector<int32_t>& VisibleBoardsChoices()
{
    static const std::vector<int32_t> values = ChoiceRuns({{10, 10}, {12, 12}, {15, 16}, {20, 20}, {24, 25}, {30, 30}});
    return values;
}

const std::vector<int32_t>& BoardsBarRowsChoices()
{
    static const std::vector<int32_t> values = ChoiceRuns({{1, 3}});
    return values;
}

const std::vector<int32_t>& HintLinesChoices()
{
    static const std::vector<int32_t> values = ChoiceRuns({{1, 5}});
    return values;
}

const std::vector<int32_t>& UserLogoWidthChoices()
{
    static const std::vector<int32_t> values = ChoiceRuns({{50, 200, 10}, {250, 500, 50}});
    return values;
}

const std::vector<int32_t>& MaxTextSizeChoices()
{
    static const std::vector<int32_t> values = ChoiceRuns({{-1, -1}, {100000, 500000, 100000}, {1000000, 1000000}});
    return values;
}

const std::vector<int32_t>& MaxThumbFileSizeChoices()
{
    static const std::vector<int32_t> values = ChoiceRuns({{-1, -1}, {100000, 1000000, 100000}, {2000000, 2000000}});
    return values;
}

const std::vector<int32_t>& NormalizeThumbSizeChoices()
{
    static const std::vector<int32_t> values = {50,  60,  75,   80,   90,   100,  120,  150,  200,
                                                240, 250, 300,  320,  350,  400,  450,  500,  600,
                                                768, 800, 1000, 1024, 2000, 2048, 4096, 5000, 10000};
    return values;
}

const std::vector<int32_t>& MouseMenuTranslucencyChoices()
{
    static const std::vector<int32_t> values = ChoiceRuns({{0, 50, 5}, {60, 90, 10}});
    return values;
}

const std::vector<int32_t>& MouseMenuSensitivityChoices()
{
    static const std::vector<int32_t> values = ChoiceRuns({{3, 10}, {15, 15}, {20, 20}});
    return values;
}

const std::vector<int32_t>& MouseMenuItemWidthChoices()
{
    static const std::vector<int32_t> values =
        ChoiceRuns({{50, 150, 10}, {180, 180}, {200, 200}, {250, 250}, {300, 300}});
    return values;
}

const std::vector<int32_t>& MouseMenuItemExtraHeightChoices()
{
    static const std::vector<int32_t> values = ChoiceRuns({{2, 20, 2}});
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
