#include "drawinglog.h"

#include <algorithm>

namespace fotonar {

PixelRect Drawn::extent() const
{
    // Rows cover their pen's swept rectangle at any scale, as a later pile of them does; the
    // other drawings with a pixel to spare for rounding.
    if (kind == Kind::Rows)
        return sweptByPen(x1, y1, x2, y2, pen);
    const int reach = pen / 2 + 2;
    if (kind == Kind::Circle)
        return {x1 - x2 - reach, y1 - x2 - reach, x1 + x2 + reach, y1 + x2 + reach};
    return {std::min(x1, x2) - reach, std::min(y1, y2) - reach, std::max(x1, x2) + reach,
        std::max(y1, y2) + reach};
}

void DrawingLog::keep(const Drawn &drawing)
{
    if (!m_complete)
        return;
    Drawn *last = m_drawn.empty() ? nullptr : &m_drawn.back();
    const bool continues = last != nullptr && drawing.kind == Drawn::Kind::Rows
        && last->kind == Drawn::Kind::Rows && last->x1 == drawing.x1 && last->x2 == drawing.x2
        && last->pen == drawing.pen && last->colour == drawing.colour && drawing.y1 == last->y2 + 1;
    if (continues) {
        last->y2 = drawing.y2;
    } else {
        if (last) {
            const PixelRect before = last->extent();
            m_keptBefore = m_keptBefore.isEmpty()
                ? before
                : PixelRect {std::min(m_keptBefore.left, before.left),
                    std::min(m_keptBefore.top, before.top),
                    std::max(m_keptBefore.right, before.right),
                    std::max(m_keptBefore.bottom, before.bottom)};
        }
        m_drawn.push_back(drawing);
    }
    // A pile of rows that covers everything drawn before it (a run's erase) leaves nothing of it
    // to be seen: only what follows needs keeping.
    const Drawn &pile = m_drawn.back();
    if (pile.kind == Drawn::Kind::Rows && m_drawn.size() > 1
        && pile.extent().contains(m_keptBefore)) {
        m_drawn.erase(m_drawn.begin(), m_drawn.end() - 1);
        m_keptBefore = {};
    }
    if (m_drawn.size() > kMostKept) {
        m_drawn.clear();
        m_complete = false;
    }
}

} // namespace fotonar
