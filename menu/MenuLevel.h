#pragma once

// Which menu a paging operation turns: the topic folders, or the lists of one folder.
enum class MenuLevel
{
    Main,
    Sub,
};
