#include "runner/ListJourney.h"

void CListJourney::Record(ListMove move)
{
    if (move == ListMove::Back && !m_moves.empty() && m_moves.back() == ListMove::Next)
    {
        m_moves.pop_back();
        return;
    }
    m_moves.push_back(move);
}
