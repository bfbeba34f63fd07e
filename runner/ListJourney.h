// The way through a running list to the screen that is up, kept as the presses that made it.
// A reload presses them again on the list as it now reads, so that the driver lands on the
// same step number: the screen reached by as many presses from the list's first screen.
#pragma once

#include <vector>

enum class ListMove
{
    Next,    // "Weiter" on a step or a warning, or a tap on a picture
    Back,    // "Zurück"
    Yes,     // "Ja"
    No,      // "Nein"
    ToStart, // "Zum Anfang" on a question
};

class CListJourney
{
public:
    // A list was loaded: its first screen is up.
    void Restart() { m_moves.clear(); }
    // A "Zurück" right after a "Weiter" takes that one back, so that the way stays as long as
    // the steps it passes, however often a driver goes back and forth.
    void Record(ListMove move);
    const std::vector<ListMove>& Moves() const { return m_moves; }

private:
    std::vector<ListMove> m_moves;
};
