#include "app/Screens.h"

#include <optional>

namespace
{
struct ScreenRow
{
    Screen screen;
    std::optional<ViewMode> viewMode;
    std::optional<ScreenState> screenState;
    std::optional<LeftButtonMode> leftButtonMode;
};

constexpr std::nullopt_t Unchanged = std::nullopt;

// The table of the header, row by row in the same order.
constexpr ScreenRow Rows[] = {
    {Screen::Start, Unchanged, ScreenState::Start, Unchanged},
    {Screen::MainMenuFirstPage, ViewMode::MainMenu, Unchanged, LeftButtonMode::EndProgram},
    {Screen::MainMenuLaterPage, ViewMode::MainMenu, Unchanged,
     LeftButtonMode::PreviousMainMenuPage},
    {Screen::SubMenuPage, ViewMode::SubMenu, Unchanged, LeftButtonMode::PreviousSubMenuPage},
    {Screen::Step, ViewMode::ListStep, ScreenState::Step, LeftButtonMode::LeaveList},
    {Screen::Question, ViewMode::ListQuestion, ScreenState::Question,
     LeftButtonMode::QuestionScreen},
    {Screen::Picture, ViewMode::ListPicture, ScreenState::Picture, LeftButtonMode::LeaveList},
    {Screen::End, Unchanged, ScreenState::End, Unchanged},
    {Screen::PictureLeft, ViewMode::ListStep, ScreenState::Step, Unchanged},
    {Screen::Answered, ViewMode::ListStep, Unchanged, Unchanged},
};

constexpr bool RowsFollowTheEnum()
{
    for (std::size_t i = 0; i < std::size(Rows); ++i)
    {
        if (static_cast<std::size_t>(Rows[i].screen) != i)
            return false;
    }
    return std::size(Rows) == static_cast<std::size_t>(Screen::Answered) + 1;
}
static_assert(RowsFollowTheEnum(), "one row per screen, in the order of the enum");
} // namespace

void EnterScreen(SharedState& state, Screen screen)
{
    const ScreenRow& row = Rows[static_cast<std::size_t>(screen)];
    if (row.viewMode)
        state.g_viewMode = *row.viewMode;
    if (row.screenState)
        state.g_screenState = *row.screenState;
    if (row.leftButtonMode)
        state.g_leftButtonMode = *row.leftButtonMode;
}
