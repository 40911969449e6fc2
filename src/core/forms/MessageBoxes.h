#pragma once

#include <cstdint>
#include <string>

// Folded answers of ShowMessageBox: 1 for OK or Yes, 7 for No, 2 for anything else.
inline constexpr int32_t mrOkay = 1;
inline constexpr int32_t mrCancel = 2;
inline constexpr int32_t mrNo = 7;

// A task-modal box; a box that cannot be shown beeps and counts as Cancel.
int32_t ShowMessageBox(const std::string& caption, const std::string& text, uint32_t flags);
void ShowInfoMessage(const std::string& text);
void ShowWarningMessage(const std::string& text);
void ShowErrorMessage(const std::string& text);
// True only for Yes.
bool AskQuery(const std::string& text);
// 1 Yes, 7 No, 2 Cancel.
int32_t AskQueryCancel(const std::string& text);
// What every help command and button answers: this host has no help viewer.
void ShowHelpNotAvailable();

void BeepOkay();
void BeepWarning();
