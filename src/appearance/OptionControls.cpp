#include "appearance/OptionControls.h"

#include "mainwindow/Boards.h"

#include "core/forms/Utilities.h"
#include "core/settings/OptionChoices.h"
#include "core/settings/ProgramOptions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include <algorithm>

namespace {

// Where a row stands and when Okay takes it back.
struct TPlace
{
    TOptionsPage Page;
    TTakeStage Stage;
};

template <auto Member>
auto& Option()
{
    return ProgramOptions.*Member;
}

template <auto Member>
auto& Viewer()
{
    return TSeam<TOptionsMainWindow>::Get().FileViewerSettings().*Member;
}

// Without boards (no main window yet) the check box binds a flag of its own.
bool& ActiveBoardShowTree()
{
    static bool noBoard = false;
    return Boards != nullptr ? Boards->GetActiveBoard().ShowTree : noBoard;
}

std::vector<std::string> NumberItems(const std::vector<int32_t>& values)
{
    std::vector<std::string> items;
    for (const int32_t value : values)
        items.push_back(std::to_string(value));
    return items;
}

TOptionControl Row(TPlace place, std::string name, std::string caption, TControlKind kind, TShowRule show,
                   TTakeRule take, TOptionField field)
{
    TOptionControl row;
    row.Name = std::move(name);
    row.Caption = std::move(caption);
    row.Page = place.Page;
    row.Stage = place.Stage;
    row.Kind = kind;
    row.Show = show;
    row.Take = take;
    row.Field = std::move(field);
    return row;
}

TOptionControl Check(TPlace place, std::string name, std::string caption, std::function<bool&()> field)
{
    return Row(place, std::move(name), std::move(caption), TControlKind::CheckBox, TShowRule::Check, TTakeRule::Check,
               std::move(field));
}

TOptionControl ExactNumber(TPlace place, std::string name, std::string caption, std::function<int32_t&()> field,
                           const std::vector<int32_t>& choices)
{
    TOptionControl row = Row(place, std::move(name), std::move(caption), TControlKind::List, TShowRule::Exact,
                             TTakeRule::Number, std::move(field));
    row.Items = NumberItems(choices);
    return row;
}

// A number the option file reads within limits: the list shows any value it took.
TOptionControl ReadWithin(TOptionControl row, TChoiceLimits limits)
{
    row.Limits.Min = limits.Min;
    row.Limits.Max = limits.Max;
    row.OffersValueRead = true;
    return row;
}

TOptionControl ExactInRange(TPlace place, std::string name, std::string caption, std::function<int32_t&()> field,
                            const std::vector<int32_t>& choices, TChoiceLimits limits, int32_t defaultValue)
{
    TOptionControl row =
        ReadWithin(ExactNumber(place, std::move(name), std::move(caption), std::move(field), choices), limits);
    row.Take = TTakeRule::NumberInRange;
    row.Limits.Default = defaultValue;
    return row;
}

// "" as the fallback selects the first item.
TOptionControl SelectNumber(TPlace place, std::string name, std::string caption, std::function<int32_t&()> field,
                            const std::vector<int32_t>& choices, std::string fallback)
{
    TOptionControl row = ExactNumber(place, std::move(name), std::move(caption), std::move(field), choices);
    row.Show = TShowRule::Select;
    row.Fallback = std::move(fallback);
    return row;
}

// A number typed or chosen, shown as it is.
TOptionControl EditableInRange(TPlace place, std::string name, std::function<int32_t&()> field,
                               const std::vector<int32_t>& choices, TChoiceLimits limits, int32_t defaultValue)
{
    TOptionControl row = ExactInRange(place, std::move(name), "", std::move(field), choices, limits, defaultValue);
    row.Kind = TControlKind::EditableList;
    row.Show = TShowRule::Text;
    row.OffersValueRead = false;
    return row;
}

TOptionControl FontName(TPlace place, std::string name, std::string caption, std::function<std::string&()> field)
{
    return Row(place, std::move(name), std::move(caption), TControlKind::FontList, TShowRule::Text, TTakeRule::Text,
               std::move(field));
}

TOptionControl Operation(TPlace place, std::string name, std::string caption, std::function<std::string&()> field,
                         const std::vector<std::string>& names, std::string fallback)
{
    TOptionControl row = Row(place, std::move(name), std::move(caption), TControlKind::List, TShowRule::Select,
                             TTakeRule::Text, std::move(field));
    row.Items = names;
    row.Fallback = std::move(fallback);
    return row;
}

void AddGeneralPage(std::vector<TOptionControl>& rows)
{
    const TPlace place{TOptionsPage::General, TTakeStage::Main};
    rows.push_back(Check(place, "ShowUniversalFileTimeCheckBox", "Show universal file time",
                         Option<&TProgramOptions::ShowUniversalFileTime>));
    rows.push_back(
        Check(place, "ShowSystemInfoCheckBox", "Show system info", Option<&TProgramOptions::ShowSystemInfo>));
    rows.push_back(Check(place, "ShowReferenceInfoCheckBox", "Show reference info bar",
                         Option<&TProgramOptions::ShowReferenceInfo>));
    rows.push_back(
        Check(place, "ShowGenericGroupCheckBox", "Show generic files group", Option<&TProgramOptions::ShowFilesGroup>));
    rows.push_back(Check(place, "DirsAtEndCheckBox", "Directories at end", Option<&TProgramOptions::DirsAtEnd>));
    rows.push_back(
        Check(place, "SeparateDirsCheckBox", "Separate directories", Option<&TProgramOptions::SeparateDirs>));
    rows.push_back(Check(place, "SeparateLinksCheckBox", "Separate links", Option<&TProgramOptions::SeparateLinks>));
    rows.push_back(Check(place, "SeparateProgsCheckBox", "Separate programs", Option<&TProgramOptions::SeparateProgs>));
    rows.push_back(
        Check(place, "SeparateDocsMenuCheckBox", "Separate documents", Option<&TProgramOptions::SeparateDocs>));
    rows.push_back(Check(place, "SecureDoubleExtensionCheckBox", "Secure double extension",
                         Option<&TProgramOptions::SecureDoubleExtension>));
    rows.push_back(
        Check(place, "ShowFileDescCheckBox", "Show file description bar", Option<&TProgramOptions::ShowFileDesc>));
    rows.push_back(Check(place, "AutorunCheckBox", "Autorun", Option<&TProgramOptions::Autorun>));
    rows.push_back(
        Check(place, "ClassicFileSizeCheckBox", "Classic file size", Option<&TProgramOptions::ClassicFileSize>));
    rows.push_back(
        Check(place, "ShowColumnInfoCheckBox", "Show column info bar", Option<&TProgramOptions::ShowColumnInfo>));
    rows.push_back(Check(place, "ShowFileInfoCheckBox", "Show file info bar", Option<&TProgramOptions::ShowFileInfo>));
    rows.push_back(Check(place, "ShowBoardsBarCheckBox", "Show boards bar", Option<&TProgramOptions::ShowBoardsBar>));
    rows.push_back(ExactInRange(place, "BoardsBarButtonsComboBox", "Buttons", Option<&TProgramOptions::VisibleBoards>,
                                VisibleBoardsChoices(), VisibleBoardsLimits, 10));
    rows.push_back(ExactInRange(place, "BoardsBarRowsComboBox", "Rows", Option<&TProgramOptions::BoardsBarRows>,
                                BoardsBarRowsChoices(), BoardsBarRowsLimits, 1));
    rows.push_back(Check(place, "ShowHintBarCheckBox", "Show hint bar", Option<&TProgramOptions::ShowHintBar>));
    rows.push_back(ExactInRange(place, "HintLinesComboBox", "Lines", Option<&TProgramOptions::HintLines>,
                                HintLinesChoices(), HintLinesLimits, 3));
    rows.push_back(Check(place, "ShowUserLogoCheckBox", "Show user logo", Option<&TProgramOptions::ShowUserLogo>));
    rows.push_back(ExactInRange(place, "UserLogoWidthComboBox", "", Option<&TProgramOptions::UserLogoWidth>,
                                UserLogoWidthChoices(), UserLogoWidthLimits, 100));
    rows.push_back(Check(place, "ShowTopLeftUserLogoCheckBox", "Show in top-left corner",
                         Option<&TProgramOptions::ShowTopLeftUserLogo>));
    rows.push_back(Check(place, "ShowTreeNavigatorCheckBox", "Show directory tree navigator", ActiveBoardShowTree));
    rows.push_back(
        Check(place, "SynchronizeColumnCheckBox", "Synchronize column", Option<&TProgramOptions::SynchronizeColumn>));
    rows.push_back(Check(place, "CenterToolbarButtonsCheckBox", "Center toolbar buttons",
                         Option<&TProgramOptions::CenterToolbarButtons>));
    rows.push_back(Check(place, "StayOnTopCheckBox", "Stay-on-top", Option<&TProgramOptions::StayOnTop>));
}

void AddColumnPage(std::vector<TOptionControl>& rows)
{
    const TPlace place{TOptionsPage::Column, TTakeStage::Main};
    const TPlace fonts{TOptionsPage::Column, TTakeStage::Fonts};
    rows.push_back(ExactNumber(place, "ItemsExtraHeightComboBox", "File item extra-height",
                               Option<&TProgramOptions::ItemsExtraHeight>, ExtraHeightChoices()));
    rows.push_back(
        FontName(fonts, "ItemsFontNameComboBox", "Column font name", Option<&TProgramOptions::ItemsFontName>));
    rows.push_back(ExactNumber(fonts, "ItemsFontSizeComboBox", "Column font size",
                               Option<&TProgramOptions::ItemsFontSize>, FontSizeChoices()));
    rows.push_back(
        FontName(fonts, "CaptionFontNameComboBox", "Information font name", Option<&TProgramOptions::CaptionFontName>));
    rows.push_back(ExactNumber(fonts, "CaptionFontSizeComboBox", "Information font size",
                               Option<&TProgramOptions::CaptionFontSize>, FontSizeChoices()));
    rows.push_back(Check(place, "ShowFileTypeCheckBox", "Show file type", Option<&TProgramOptions::ShowFileType>));
    rows.push_back(Check(place, "ShowExtInTypeCheckBox", "Show file extension in type field",
                         Option<&TProgramOptions::ShowExtInType>));
    rows.push_back(ExactInRange(place, "FileTypeWidthComboBox", "Width", Option<&TProgramOptions::FileTypeWidth>,
                                TypeWidthChoices(), FileTypeWidthLimits, 150));
    rows.push_back(
        Check(place, "SimulateFileTypeCheckBox", "Simulate file type", Option<&TProgramOptions::SimulateFileType>));
    rows.push_back(SelectNumber(place, "SimulateFileTypeWidthComboBox", "",
                                Option<&TProgramOptions::SimulateFileTypeWidth>, TypeWidthChoices(), "120"));
    rows.push_back(Check(place, "ShowGridCheckBox", "Show grid", Option<&TProgramOptions::ShowGrid>));
    rows.push_back(
        Check(place, "HotTrackColumnItemsCheckBox", "Hot-track items", Option<&TProgramOptions::HotTrackColumnItems>));
    rows.push_back(
        Check(place, "UnderlineHotTrackItemsCheckBox", "Underline", Option<&TProgramOptions::UnderlineHotTrackItems>));
    rows.push_back(Check(place, "InstantScrollbarThumbPaintCheckBox", "Instant scrollbar thumb paint",
                         Option<&TProgramOptions::InstantScrollbarThumbPaint>));
    rows.push_back(SelectNumber(place, "ScrollbarSensitivityComboBox", "Scrollbar sensitivity",
                                Option<&TProgramOptions::ScrollbarSensitivity>, ScrollChoices(), "10"));
}

void AddViewerPage(std::vector<TOptionControl>& rows)
{
    const TPlace viewer{TOptionsPage::Viewer, TTakeStage::Viewer};
    const TPlace place{TOptionsPage::Viewer, TTakeStage::Main};
    rows.push_back(Check(viewer, "FitSmallImagesCheckBox", "Fit small images to viewer panel",
                         Viewer<&TFileViewerSettings::FitSmallImages>));
    rows.push_back(Check(viewer, "TextWordWrapCheckBox", "Text word-wrap", Viewer<&TFileViewerSettings::TextWordWrap>));
    rows.push_back(ExactInRange(viewer, "MaxTextSizeComboBox", "Maximum text file size",
                                Viewer<&TFileViewerSettings::MaxTextSize>, MaxTextSizeChoices(),
                                MaxTextSizeLimits, 100000));
    rows.push_back(FontName(viewer, "ViewerFontNameComboBox", "Font name", Viewer<&TFileViewerSettings::FontName>));
    rows.push_back(ReadWithin(ExactNumber(viewer, "ViewerFontSizeComboBox", "Font size",
                                          Viewer<&TFileViewerSettings::FontSize>, FontSizeChoices()),
                              ViewerFontSizeLimits));
    rows.push_back(Check(viewer, "ViewerBoldFontCheckBox", "Bold font", Viewer<&TFileViewerSettings::FontBold>));
    rows.push_back(ExactInRange(place, "MaxThumbFileSizeComboBox", "Maximum thumb file size",
                                Option<&TProgramOptions::MaxThumbFileSize>, MaxThumbFileSizeChoices(),
                                MaxThumbFileSizeLimits, 1000000));
    rows.push_back(SelectNumber(place, "MaxPictureCacheSizeComboBox", "Maximum thumbnails cache size",
                                Option<&TProgramOptions::MaxPictureCacheSize>, CacheChoices(), "30000000"));
    rows.push_back(Check(place, "NormalizeThumbWidthCheckBox", "Normalize thumb width to",
                         Option<&TProgramOptions::NormalizeThumbWidth>));
    rows.push_back(EditableInRange(place, "NormalizeThumbWidthToComboBox",
                                   Option<&TProgramOptions::NormalizeThumbWidthTo>, NormalizeThumbSizeChoices(),
                                   NormalizeThumbSizeLimits, 100));
    rows.push_back(Check(place, "NormalizeThumbHeightCheckBox", "Normalize thumb height to",
                         Option<&TProgramOptions::NormalizeThumbHeight>));
    rows.push_back(EditableInRange(place, "NormalizeThumbHeightToComboBox",
                                   Option<&TProgramOptions::NormalizeThumbHeightTo>, NormalizeThumbSizeChoices(),
                                   NormalizeThumbSizeLimits, 100));
    rows.push_back(
        Check(place, "HighQualityThumbCheckBox", "High quality thumb", Option<&TProgramOptions::HighQualityThumb>));
    rows.push_back(SelectNumber(place, "SmartQualitySizeComboBox", "", Option<&TProgramOptions::SmartQualitySize>,
                                QualityChoices(), ""));
    rows.push_back(Check(place, "ShowWhileScrollingCheckBox", "Show while scrolling",
                         Option<&TProgramOptions::ShowWhileScrolling>));
    rows.push_back(Check(place, "TranslucentThumbnailSelectionCheckBox", "Translucent thumbnail selection",
                         Option<&TProgramOptions::TranslucentThumbnailSelection>));
    rows.push_back(Check(place, "FitSmallThumbsCheckBox", "Fit small images to thumbnail area",
                         Option<&TProgramOptions::FitSmallThumbs>));
    rows.push_back(SelectNumber(place, "FitSmallThumbsSizeComboBox", "", Option<&TProgramOptions::FitSmallThumbsSize>,
                                QualityChoices(), "100"));
}

void AddMouseOperationsPage(std::vector<TOptionControl>& rows)
{
    const TPlace place{TOptionsPage::MouseOperations, TTakeStage::MouseOperations};
    const std::vector<std::string>& click = ClickOperationNames();
    const std::vector<std::string>& drag = DragOperationNames();
    const std::vector<std::string>& header = HeaderOperationNames();
    rows.push_back(Operation(place, "LMBTypeComboBox", "[LMB] on file type", Option<&TProgramOptions::LMBTypeOperation>,
                             click, "Run"));
    rows.push_back(Operation(place, "LMBNameComboBox", "[Double LMB] on file name",
                             Option<&TProgramOptions::LMBNameOperation>, click, "Run"));
    rows.push_back(Operation(place, "RMBTypeComboBox", "[RMB] on file type", Option<&TProgramOptions::RMBTypeOperation>,
                             click, "System menu"));
    rows.push_back(Operation(place, "RMBNameComboBox", "[RMB] on file name", Option<&TProgramOptions::RMBNameOperation>,
                             click, "File menu"));
    rows.push_back(Operation(place, "MMBTypeComboBox", "[MMB] on file type", Option<&TProgramOptions::MMBTypeOperation>,
                             click, "Inter-board file-drag menu"));
    rows.push_back(Operation(place, "MMBNameComboBox", "[MMB] on file name", Option<&TProgramOptions::MMBNameOperation>,
                             click, "Toggle selection"));
    rows.push_back(Operation(place, "LMBDragTypeComboBox", "[LMB + Drag] on file type",
                             Option<&TProgramOptions::LMBDragTypeOperation>, drag, "Copy"));
    rows.push_back(Operation(place, "LMBDragNameComboBox", "[LMB + Drag] on file name",
                             Option<&TProgramOptions::LMBDragNameOperation>, drag, "File-drag menu"));
    rows.push_back(Operation(place, "RMBDragTypeComboBox", "[RMB + Drag] on file type",
                             Option<&TProgramOptions::RMBDragTypeOperation>, drag, "Move"));
    rows.push_back(Operation(place, "RMBDragNameComboBox", "[RMB + Drag] on file name",
                             Option<&TProgramOptions::RMBDragNameOperation>, drag, "Enter this directory"));
    rows.push_back(Operation(place, "LMBColumnHeaderComboBox", "[LMB] on column header",
                             Option<&TProgramOptions::LMBColumnHeaderOperation>, header, "Enter parent directory"));
    rows.push_back(Operation(place, "RMBColumnHeaderComboBox", "[RMB] on column header",
                             Option<&TProgramOptions::RMBColumnHeaderOperation>, header, "Toggle fixed attribute"));
    rows.push_back(Operation(place, "MMBColumnHeaderComboBox", "[MMB] on column header",
                             Option<&TProgramOptions::MMBColumnHeaderOperation>, header,
                             "Directory tree navigator dialog"));
}

void AddMouseMenuPage(std::vector<TOptionControl>& rows)
{
    const TPlace place{TOptionsPage::MouseMenu, TTakeStage::MouseMenu};
    rows.push_back(Check(place, "MouseMenuActiveCheckBox", "Active", Option<&TProgramOptions::MouseMenuActive>));
    rows.push_back(ReadWithin(SelectNumber(place, "MouseMenuTranslucencyComboBox", "Translucency",
                                           Option<&TProgramOptions::MouseMenuTranslucency>,
                                           MouseMenuTranslucencyChoices(), ""),
                              MouseMenuTranslucencyLimits));
    rows.push_back(ReadWithin(SelectNumber(place, "MouseMenuSensitivityComboBox", "Sensitivity",
                                           Option<&TProgramOptions::MouseMenuSensitivity>,
                                           MouseMenuSensitivityChoices(), ""),
                              MouseMenuSensitivityLimits));
    rows.push_back(ReadWithin(SelectNumber(place, "MouseMenuItemWidthComboBox", "Item width",
                                           Option<&TProgramOptions::MouseMenuItemWidth>, MouseMenuItemWidthChoices(),
                                           ""),
                              MouseMenuItemWidthLimits));
    rows.push_back(ReadWithin(SelectNumber(place, "MouseMenuItemExtraHeightComboBox", "Item extra height",
                                           Option<&TProgramOptions::MouseMenuItemExtraHeight>,
                                           MouseMenuItemExtraHeightChoices(), ""),
                              MouseMenuItemExtraHeightLimits));
    for (size_t zone = 0; zone < ProgramOptions.MouseMenuOperation.size(); ++zone) {
        TOptionControl row = Operation(place, "MouseOperationZone" + std::to_string(zone + 1) + "ComboBox", "",
                                       std::function<std::string&()>([zone]() -> std::string& {
                                           return ProgramOptions.MouseMenuOperation[zone];
                                       }),
                                       ClickOperationNames(), "");
        row.Show = TShowRule::Exact;
        rows.push_back(std::move(row));
    }
}

void AddHoverPage(std::vector<TOptionControl>& rows)
{
    const TPlace place{TOptionsPage::Hover, TTakeStage::Hover};
    rows.push_back(Check(place, "FileHoverActiveCheckBox", "Active", Option<&TProgramOptions::FileHoverActive>));
    rows.push_back(SelectNumber(place, "FileHoverDelayComboBox", "Delay (tenths of a second)",
                                Option<&TProgramOptions::FileHoverDelay>, HoverDelayChoices(), ""));
    rows.push_back(
        Check(place, "FileHoverPlayMediaCheckBox", "Play media", Option<&TProgramOptions::FileHoverPlayMedia>));
    rows.push_back(SelectNumber(place, "FileHoverMediaStartShiftComboBox", "Media start shift (percent)",
                                Option<&TProgramOptions::FileHoverMediaStartShift>, StartShiftChoices(), ""));
    rows.push_back(SelectNumber(place, "FileHoverSensitivityComboBox", "Sensitivity",
                                Option<&TProgramOptions::FileHoverSensitivity>, HoverSensitivityChoices(), ""));
    rows.push_back(SelectNumber(place, "FileHoverPictureWidthComboBox", "Picture width",
                                Option<&TProgramOptions::FileHoverPictureWidth>, HoverWidthChoices(), ""));
    rows.push_back(SelectNumber(place, "FileHoverMovieWidthComboBox", "Movie width",
                                Option<&TProgramOptions::FileHoverMovieWidth>, HoverWidthChoices(), ""));
    rows.push_back(SelectNumber(place, "FileHoverGenericWidthComboBox", "Generic width",
                                Option<&TProgramOptions::FileHoverGenericWidth>, HoverWidthChoices(), ""));
    rows.push_back(SelectNumber(place, "FileHoverPictureHeightComboBox", "Picture thumb height",
                                Option<&TProgramOptions::FileHoverPictureHeight>, HoverHeightChoices(), ""));
    rows.push_back(SelectNumber(place, "FileHoverMovieHeightComboBox", "Movie thumb height",
                                Option<&TProgramOptions::FileHoverMovieHeight>, HoverHeightChoices(), ""));
    rows.push_back(Check(place, "FileHoverShowVideoThumbnailCheckBox", "Show thumbnail for movie files",
                         Option<&TProgramOptions::FileHoverShowVideoThumbnail>));
    rows.push_back(Check(place, "FileHoverDontPlayAlreadyCheckBox", "Don't start if playing from main player",
                         Option<&TProgramOptions::FileHoverDontPlayAlready>));
}

void AddPluginsPage(std::vector<TOptionControl>& rows)
{
    const TPlace place{TOptionsPage::Plugins, TTakeStage::Plugins};
    rows.push_back(
        Check(place, "ActivatePluginsCheckBox", "Activate plugins", Option<&TProgramOptions::ActivatePlugins>));
    for (size_t slot = 0; slot < ProgramOptions.ViewerPluginName.size(); ++slot) {
        const std::string panel = std::to_string(slot + 1);
        rows.push_back(Check(place, "PictureViewerPlugin" + panel + "CheckBox", "Activate plugin",
                             [slot]() -> bool& { return ProgramOptions.ViewerPluginActive[slot]; }));
        rows.push_back(Row(place, "PictureViewerPluginName" + panel + "Edit", "", TControlKind::Edit, TShowRule::Text,
                           TTakeRule::Text, std::function<std::string&()>([slot]() -> std::string& {
                               return ProgramOptions.ViewerPluginName[slot];
                           })));
    }
}

std::string ValueText(const TOptionField& field)
{
    if (const auto* number = std::get_if<std::function<int32_t&()>>(&field))
        return std::to_string((*number)());
    return std::get<std::function<std::string&()>>(field)();
}

std::string ControlText(QWidget& control)
{
    if (auto* edit = qobject_cast<QLineEdit*>(&control))
        return edit->text().toStdString();
    return static_cast<QComboBox&>(control).currentText().toStdString();
}

// The row's own items, and the value read when they lack it, in the order of the numbers.
void OfferValueRead(const TOptionControl& row, QComboBox& comboBox)
{
    const int32_t value = std::get<std::function<int32_t&()>>(row.Field)();
    FillOptionItems(row, comboBox);
    const std::string text = std::to_string(value);
    if (!TChoiceLimits{row.Limits.Min, row.Limits.Max}.Holds(value) || FindComboBoxItemExact(comboBox, text) >= 0)
        return;
    const auto after = std::find_if(row.Items.begin(), row.Items.end(),
                                    [&](const std::string& item) { return std::stoi(item) > value; });
    comboBox.insertItem(static_cast<int>(after - row.Items.begin()), QString::fromStdString(text));
}

void SetControlText(QWidget& control, const std::string& text)
{
    if (auto* edit = qobject_cast<QLineEdit*>(&control))
        edit->setText(QString::fromStdString(text));
    else
        static_cast<QComboBox&>(control).setEditText(QString::fromStdString(text));
}

} // namespace

const std::vector<TOptionControl>& OptionControls()
{
    static const std::vector<TOptionControl> rows = [] {
        std::vector<TOptionControl> all;
        AddGeneralPage(all);
        AddColumnPage(all);
        AddViewerPage(all);
        AddMouseOperationsPage(all);
        AddMouseMenuPage(all);
        AddHoverPage(all);
        AddPluginsPage(all);
        return all;
    }();
    return rows;
}

void FillOptionItems(const TOptionControl& row, QComboBox& comboBox)
{
    comboBox.clear();
    for (const std::string& item : row.Items)
        comboBox.addItem(QString::fromStdString(item));
}

void ShowOptionValue(const TOptionControl& row, QWidget& control)
{
    if (row.OffersValueRead)
        OfferValueRead(row, static_cast<QComboBox&>(control));
    switch (row.Show) {
    case TShowRule::Check:
        static_cast<QCheckBox&>(control).setChecked(std::get<std::function<bool&()>>(row.Field)());
        break;
    case TShowRule::Select:
        SelectComboBoxText(static_cast<QComboBox&>(control), ValueText(row.Field), row.Fallback);
        break;
    case TShowRule::Exact: {
        auto& comboBox = static_cast<QComboBox&>(control);
        comboBox.setCurrentIndex(FindComboBoxItemExact(comboBox, ValueText(row.Field)));
        break;
    }
    case TShowRule::Text:
        SetControlText(control, ValueText(row.Field));
        break;
    }
}

void TakeOptionValue(const TOptionControl& row, QWidget& control)
{
    switch (row.Take) {
    case TTakeRule::Check:
        std::get<std::function<bool&()>>(row.Field)() = static_cast<QCheckBox&>(control).isChecked();
        break;
    case TTakeRule::Number:
        std::get<std::function<int32_t&()>>(row.Field)() = GetIntFromComboBoxOrZero(control);
        break;
    case TTakeRule::NumberInRange:
        std::get<std::function<int32_t&()>>(row.Field)() =
            GetIntFromComboBox(control, row.Limits.Min, row.Limits.Max, row.Limits.Default);
        break;
    case TTakeRule::Text:
        std::get<std::function<std::string&()>>(row.Field)() = ControlText(control);
        break;
    }
}
