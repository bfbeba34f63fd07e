// The order in which the focus moves through the controls: as they are read, left to right
// in rows from the top, whatever order the dialog template created them in.
#pragma once

#include <vector>

class QWidget;

// `widgets` sorted by their places in their parent: rows from the top, each row from the left.
// A widget whose top lies above the middle of the first widget of a row belongs to that row.
std::vector<QWidget*> InReadingOrder(std::vector<QWidget*> widgets);

// Chains the focus of `widgets` in reading order (hidden widgets stay in the chain; Qt skips
// them).
void SetReadingFocusOrder(const std::vector<QWidget*>& widgets);
