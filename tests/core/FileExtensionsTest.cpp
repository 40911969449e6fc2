#include "core/files/FileExtensions.h"

#include "support/TestSupport.h"

#include <QComboBox>

#include <gtest/gtest.h>

namespace {

TFileExtensionList* const AllLists[] = {&PictureFileExtensions, &AudioFileExtensions,   &VideoFileExtensions,
                                        &TextFileExtensions,    &ProgramFileExtensions, &DocumentFileExtensions};

class FileExtensions : public testing::Test
{
protected:
    FileExtensions() { ClearAll(); }
    ~FileExtensions() override
    {
        ClearAll();
        TSeam<TPictureDecoders>::Install(nullptr);
    }
    static void ClearAll()
    {
        for (TFileExtensionList* list : AllLists)
            list->Clear();
    }

    std::string FilterOf(const std::string& boxText, bool& predefined)
    {
        QComboBox box;
        box.setEditable(true);
        box.setEditText(QString::fromStdString(boxText));
        return GetFilterFromComboBox(box, &predefined);
    }
};

TEST_F(FileExtensions, EachKindAsksItsOwnListIgnoringCase)
{
    using TKindTest = bool (*)(const std::string&);
    const TKindTest kinds[] = {IsPictureFile, IsAudioFile, IsVideoFile, IsTextFile, IsProgramFile, IsDocumentFile};
    for (size_t owner = 0; owner < std::size(AllLists); ++owner) {
        ClearAll();
        AllLists[owner]->Add(".Jpg");
        for (size_t kind = 0; kind < std::size(kinds); ++kind) {
            SCOPED_TRACE("list " + std::to_string(owner) + ", test " + std::to_string(kind));
            EXPECT_EQ(kind == owner, kinds[kind]("C:\\a\\Photo.JPG"));
        }
    }
}

TEST_F(FileExtensions, OnlyTheLastExtensionCounts)
{
    PictureFileExtensions.Assign({".tar", ".jpg"});
    EXPECT_FALSE(IsPictureFile("README"));
    EXPECT_FALSE(IsPictureFile("archive.tar.gz"));
    EXPECT_FALSE(IsPictureFile("C:\\pics.jpg\\readme"));
    EXPECT_TRUE(IsPictureFile("photo.jpeg.jpg"));
}

TEST_F(FileExtensions, ListsStaySortedWithEachEntryOnce)
{
    TextFileExtensions.Add(".txt");
    TextFileExtensions.Add(".TXT");
    TextFileExtensions.Add(".log");
    TextFileExtensions.Add(".Ini");
    EXPECT_EQ((std::vector<std::string>{".Ini", ".log", ".txt"}), TextFileExtensions.Entries());
    EXPECT_EQ("*.Ini;*.log;*.txt", GetTextExtensionsAsFilter());
    EXPECT_EQ("", GetAudioExtensionsAsFilter());
    TextFileExtensions.Assign({".b", ".a", ".B"});
    EXPECT_EQ((std::vector<std::string>{".a", ".b"}), TextFileExtensions.Entries());
}

TEST_F(FileExtensions, PlayListTestTakesAnExtension)
{
    EXPECT_TRUE(IsMediaPlayListFile(".MPL"));
    EXPECT_TRUE(IsMediaPlayListFile(".mpl"));
    EXPECT_FALSE(IsMediaPlayListFile("list.mpl"));
    EXPECT_FALSE(IsMediaPlayListFile("mpl"));
}

class TFakePictureDecoders : public TPictureDecoders
{
public:
    std::string GetPictureExtensionsAsFilter() override { return "*.png;*.bmp"; }
};

TEST_F(FileExtensions, FilterBoxNamesTheKnownFiltersOrGivesTheTextAsTyped)
{
    TextFileExtensions.Assign({".txt", ".log"});
    AudioFileExtensions.Assign({".mp3"});
    VideoFileExtensions.Assign({".avi"});
    const struct
    {
        std::string BoxText;
        std::string Filter;
        bool Predefined;
    } rows[] = {
        {"All files", "*", true},       {"text FILES", "*.log;*.txt", true},
        {"Picture files", "", true},    {"Movie files", "*.avi", true},
        {"Video files", "*.avi", true}, {"MUSIC files", "*.mp3", true},
        {"Audio files", "*.mp3", true}, {"No backup files", "*.exe;*.dll;*.obj;*.tds;*.tmp", true},
        {"*.doc", "*.doc", false},      {"Text files ", "Text files ", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.BoxText);
        bool predefined = !row.Predefined;
        EXPECT_EQ(row.Filter, FilterOf(row.BoxText, predefined));
        EXPECT_EQ(row.Predefined, predefined);
    }

    TFakePictureDecoders decoders;
    TSeam<TPictureDecoders>::Install(&decoders);
    bool predefined = false;
    EXPECT_EQ("*.png;*.bmp", FilterOf("Picture files", predefined));
    QComboBox box;
    EXPECT_EQ("", GetFilterFromComboBox(box, nullptr));
}

} // namespace
