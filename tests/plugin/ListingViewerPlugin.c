/* A plug-in for the tests that lists extensions and nothing more: it has none of the
 * entry points that draw. */
#include "quillomber/ViewerPlugin.h"

const char* LoadFileExtensions(void)
{
    return ".abc.def";
}
