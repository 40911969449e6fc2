#include "fileops/FileOperationName.h"

#include <gtest/gtest.h>

TEST(FileOperationName, PrefixIsTakenByTheOperationsThatWriteNamesWhateverTheCase)
{
    struct Case
    {
        const char* operation;
        bool takesPrefix;
    };
    const Case cases[] = {{"Copy", true},
                          {"move", true},
                          {"COMPARE", true},
                          {"Convert picture", true},
                          {"copy as link", true},
                          {"Delete", false},
                          {"Recycle", false},
                          {"Clip title of", false},
                          {"", false}};
    for (const Case& c : cases)
        EXPECT_EQ(FileOperation::TakesPrefix(c.operation), c.takesPrefix) << c.operation;
}
