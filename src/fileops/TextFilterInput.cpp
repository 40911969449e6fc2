#include "fileops/TextFilterInput.h"

#include "core/forms/MessageBoxes.h"
#include "core/text/Text.h"

bool IsTextFilterGiven(const std::string& text)
{
    if (text.empty())
        ShowWarningMessage("Text filter can't be empty.");
    return !text.empty();
}

bool ParseTextFilter(const std::string& text, bool freeHand, TStringList& textFilters)
{
    if (!IsTextFilterGiven(text))
        return false;
    const bool hasShortFilter = GetListFromMultipleFilter(text, textFilters, freeHand ? ' ' : ';', '&', '!', '~');
    return !hasShortFilter ||
           AskQuery("There are filters containing only one or two characters.\nSuch filters are very common so they "
                    "may significantly\nslow down the search.\n\nDo you want to CONTINUE anyway?");
}
