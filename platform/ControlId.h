// Identifiers of the dialog's controls, as the dialog templates name them.
#pragma once

namespace ControlId
{
inline constexpr int MenuButton0 = 1000;
inline constexpr int MenuButton1 = 1001;
inline constexpr int Heading = 1002;
inline constexpr int SubHeading = 1003;
inline constexpr int MenuButton2 = 1005;
inline constexpr int MenuButton3 = 1006;
inline constexpr int MenuButton4 = 1007;
inline constexpr int MenuButton5 = 1008;
inline constexpr int CentreButton = 1009;
inline constexpr int LeftButton = 1010;
inline constexpr int RightButton = 1011;
inline constexpr int LineStoreList = 1014;
inline constexpr int BodyText = 1020;
inline constexpr int Picture = 1023;

// The menu buttons in entry order: entry first + i is shown on MenuButtons[i].
inline constexpr int MenuButtons[6] = {MenuButton0, MenuButton1, MenuButton2,
                                       MenuButton3, MenuButton4, MenuButton5};
} // namespace ControlId

namespace ResourceId
{
inline constexpr int PortraitTemplate = 102;
inline constexpr int LandscapeTemplate = 103;
inline constexpr int ProgramIcon = 128;
} // namespace ResourceId
