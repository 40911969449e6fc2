#include "BoardTestWindow.h"

#include "fileops/SearchFileForm.h"

#include "columns/ContainerDialog.h"
#include "columns/Containers.h"

#include "core/files/PathNames.h"
#include "core/forms/MessageBoxes.h"

#include <QCheckBox>
#include <QComboBox>

#include <fstream>
#include <memory>
#include <sstream>
#include <utility>
#include <vector>

namespace {

std::string ReadHostFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// A main window with the search dialog made as the program makes it: after the window,
// before its option files are read.
class SearchCommands : public testing::Test
{
protected:
    ~SearchCommands() override
    {
        Window.Discard();
        SearchFileForm = nullptr;
    }

    void MakeForm(TContainerDialog* containers)
    {
        Form = std::make_unique<TSearchFileForm>(nullptr, containers);
        SearchFileForm = Form.get();
    }

    TColumn& OpenColumn(const std::string& title)
    {
        TColumn& column = ColumnAt(*Window, 0);
        column.LoadDirectory({.RememberPrevious = true, .ContainerIndex = -1, .Title = title, .Type = std::nullopt});
        Window->FocusColumn(0, true);
        return column;
    }

    void Feed(const std::string& path, bool directory, int32_t rank)
    {
        const int32_t index = Form->Engine.Found.Add(path, directory, rank, true);
        (directory ? Form->Engine.DirsFound : Form->Engine.FilesFound) += 1;
        Form->ItemFound(index);
    }

    TTempDrive Drive{'T'};
    TBoardTestWindow Window;
    std::unique_ptr<TSearchFileForm> Form;
};

TEST_F(SearchCommands, TheFoundItemsGoIntoTheFoundContainerWithTheirRanks)
{
    Drive.WriteFile("d/a.txt", "a");
    Drive.WriteFile("d/b.txt", "b");
    Window.Open();
    MakeForm(Window->ContainerDialog);
    TColumn& column = OpenColumn(Drive.Path("d\\a.txt"));
    Window->FindContainer(0)->AddItem(Drive.Path("d\\old.txt"), 0);
    Form->UseColumnForContainerComboBox->setCurrentIndex(0);
    ASSERT_NE(Boards->FindSearchBoard(), Boards->ActiveBoard);
    {
        TModalScript script;
        script.Expect("Search file", mrOkay, [&](const TModalRequest&) {
            Feed(Drive.Path("d\\b.txt"), false, 40);
            Feed(Drive.Path("d"), true, 90);
            Form->PutInSearchContainerButtonMouseDown(TShiftState{});
        });
        column.Com_Search("", false);
    }
    std::vector<std::pair<std::string, int32_t>> items;
    for (const TContainerItem& item : Window->FindContainer(0)->Items())
        items.emplace_back(item.Path, item.Data.ItemNumber);
    EXPECT_EQ((std::vector<std::pair<std::string, int32_t>>{{Drive.Path("d"), 90}, {Drive.Path("d\\b.txt"), 40}}), items)
        << "the container \"Found\" is emptied first and takes the items in rank order";
    // The "Search" board shows the container in its third column already: that column is
    // reused rather than the first one chosen in the dialog.
    EXPECT_EQ(Boards->FindSearchBoard(), Boards->ActiveBoard);
    ASSERT_EQ(0, ColumnAt(*Window, 2).ContainerIndex);
    EXPECT_EQ(-1, ColumnAt(*Window, 0).ContainerIndex);
}

TEST_F(SearchCommands, TheSectionTravelsWithTheOptionFile)
{
    MakeForm(nullptr);
    Window.Open();
    Form->SearchSimilarCheckBox->setChecked(true);
    Form->UseColumnForContainerComboBox->setCurrentIndex(4);
    Window.Close();
    EXPECT_NE(std::string::npos, ReadHostFile(TBoardTestWindow::OptionsHostPath("Quillomber.ini"))
                                     .find("[SearchFile]\r\nSearchSimilar=TRUE\r\n"));

    MakeForm(nullptr);
    Window.Open();
    EXPECT_TRUE(Form->SearchSimilarCheckBox->isChecked());
    EXPECT_EQ("5", Form->UseColumnForContainerComboBox->currentText().toStdString());
}

TEST_F(SearchCommands, SearchNamesSelectLooksInTheSelectionAndSelectsWhatItFound)
{
    for (const char* name : {"d/x.txt", "d/y.txt", "d/z.txt", "d/w.dat"})
        Drive.WriteFile(name, "text");
    Window.Open();
    MakeForm(Window->ContainerDialog);
    TColumn& column = OpenColumn(Drive.Path("d\\x.txt"));
    for (const char* name : {"x.txt", "y.txt", "w.dat"})
        column.SelectItem(column.IndexOfName(name));
    Form->FileNameFilterComboBox->setEditText("*.txt");
    {
        TModalScript script;
        script.Expect("Search file", mrOkay, [&](const TModalRequest&) { Form->SearchNamesSelectButtonClick(); });
        column.Com_Search("", false);
    }
    // Only the selected files were candidates; the selection is now exactly what matched.
    std::vector<std::string> selected;
    for (int32_t i = 0; i < column.GetItemCount(); ++i)
        if (column.GetItem(i).Selected)
            selected.push_back(GetPathName(column.GetItem(i).Title));
    EXPECT_EQ((std::vector<std::string>{"x.txt", "y.txt"}), selected);
    EXPECT_EQ(2, column.SelectedCount);
}

} // namespace
