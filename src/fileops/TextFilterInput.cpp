#include "fileops/TextFilterInput.h"

#include "core/forms/MessageBoxes.h"
#include "core/text/Text.h"

bool ParseTextFilter(const std::string& text, bool freeHand, TStringList& textFilters)
{
    if (text.empty()) {
        ShowWarningMessage("Text filter can't be empty.");
        return false;
    }
    const bool hasShortFilter = GetListFromMultipleFilter(text, textFilters, freeHand ? ' ' : ';', '&', '!', '~');
    return !hasShortFilter ||
           AskQuery("There are filters containing only one or two characters.\nSuch filters are very common so they "
                    "may significantly\nslow down the search.\n\nDo you want to CONTINUE anyway?");
}
