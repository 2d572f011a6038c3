#pragma once

#include <QRect>
#include <QRegion>
#include <QSize>

#include <cstdint>
#include <vector>

namespace fotonar {

/// The parts of the picture changed since the last frame, as a grid of square tiles. Marking
/// costs the same whatever shapes were drawn before, where a QRegion grows slower with every
/// slanted line added to it; the region handed out keeps to the tiles a line crosses.
class ChangedTiles
{
public:
    /// Side of a tile in logical pixels.
    static constexpr int kTile = 32;

    /// Covers `size` logical pixels from (0, 0); keeps what is marked.
    void resize(QSize size);
    /// Marks every tile that `area` touches; what lies outside the grid is left out.
    void mark(const QRect &area);
    bool isEmpty() const { return !m_any; }
    /// The marked tiles as one rectangle per run of tiles in a row, in logical pixels; clears
    /// the marks.
    QRegion take();

private:
    int m_columns = 0;
    int m_rows = 0;
    std::vector<std::uint8_t> m_marked; ///< one byte a tile, row by row
    bool m_any = false;
};

} // namespace fotonar
