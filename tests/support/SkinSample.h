#pragma once

#include "core/settings/SkinOptions.h"

#include "core/files/ProgramFolders.h"

// A skin in which every field differs from its default, its picture in the BackPictures
// folder of the program folder in force.
inline TSkinOptions EveryFieldChanged()
{
    TSkinOptions skin;
    skin.UseBackPicture = true;
    skin.BackPictureFileTitle = GetBackPicturesPath() + "Sunset.jpg";
    skin.StretchBackPicture = false;
    skin.FitBeforeTileBackPicture = false;
    skin.ToolbarButtonsStyle = "Single oval";
    skin.NonOvalButtonsStyle = "Bottom edge";
    skin.HintPanelAsWindow = true;
    size_t next = 1;
    const auto changeNumbers = [&](const auto& fields) {
        for (const TSkinNumberField& field : fields) {
            const std::vector<int32_t>& choices = field.Choices();
            int32_t choice = choices[next++ % choices.size()];
            if (choice == field.Default)
                choice = choices[next++ % choices.size()];
            skin.*field.Field = choice;
        }
    };
    changeNumbers(SkinPictureNumberFields);
    changeNumbers(SkinTranslucencyFields);
    for (const TSkinColorField& field : SkinColorFields)
        skin.*field.Field = (field.Default ^ 0x102030) + static_cast<TColor>(next++);
    return skin;
}
