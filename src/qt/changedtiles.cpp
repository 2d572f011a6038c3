#include "changedtiles.h"

#include <algorithm>

namespace fotonar {

void ChangedTiles::resize(QSize size)
{
    const int columns = (size.width() + kTile - 1) / kTile;
    const int rows = (size.height() + kTile - 1) / kTile;
    if (columns == m_columns && rows == m_rows)
        return;
    std::vector<std::uint8_t> marked(std::size_t(columns) * std::size_t(rows), 0);
    for (int row = 0; row < std::min(rows, m_rows); ++row)
        for (int column = 0; column < std::min(columns, m_columns); ++column)
            marked[std::size_t(row * columns + column)]
                = m_marked[std::size_t(row * m_columns + column)];
    m_marked.swap(marked);
    m_columns = columns;
    m_rows = rows;
}

void ChangedTiles::mark(const QRect &area)
{
    // Called for every line drawn, the 700 rows of the erase among them: plain arithmetic.
    if (area.isEmpty() || area.right() < 0 || area.bottom() < 0)
        return;
    const int firstColumn = std::max(area.left(), 0) / kTile;
    const int lastColumn = std::min(area.right() / kTile, m_columns - 1);
    const int firstRow = std::max(area.top(), 0) / kTile;
    const int lastRow = std::min(area.bottom() / kTile, m_rows - 1);
    if (firstColumn > lastColumn || firstRow > lastRow)
        return;
    for (int row = firstRow; row <= lastRow; ++row)
        std::fill_n(m_marked.begin() + row * m_columns + firstColumn, lastColumn - firstColumn + 1,
            std::uint8_t(1));
    m_any = true;
}

QRegion ChangedTiles::take()
{
    QRegion region;
    if (!m_any)
        return region;
    for (int row = 0; row < m_rows; ++row) {
        for (int column = 0; column < m_columns;) {
            const std::size_t at = std::size_t(row * m_columns + column);
            if (!m_marked[at]) {
                ++column;
                continue;
            }
            int end = column;
            while (end < m_columns && m_marked[std::size_t(row * m_columns + end)]) {
                m_marked[std::size_t(row * m_columns + end)] = 0;
                ++end;
            }
            region += QRect(column * kTile, row * kTile, (end - column) * kTile, kTile);
            column = end;
        }
    }
    m_any = false;
    return region;
}

} // namespace fotonar
