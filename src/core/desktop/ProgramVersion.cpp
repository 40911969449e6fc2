#include "core/desktop/ProgramVersion.h"

std::string ProgramVersionText()
{
    return std::string("Version ") + QUILLOMBER_VERSION + " (" + QUILLOMBER_RELEASE_DATE + ")";
}
