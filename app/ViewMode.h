#pragma once

// Which kind of screen is up. There is no value 4.
enum class ViewMode : int
{
    StartScreen = 0, // only at program load; nothing sets it back
    MainMenu = 1,
    SubMenu = 2,
    ListStep = 3, // a step or the end screen of a running list
    ListPicture = 5,
    ListQuestion = 6,
};
