#include "changedtiles.h"

#include <algorithm>
#include <cstdlib>

namespace fotonar {

namespace {

PixelRect tileRect(int row, int column)
{
    const int tile = ChangedTiles::kTile;
    return {column * tile, row * tile, column * tile + tile - 1, row * tile + tile - 1};
}

} // namespace

void ChangedTiles::resize(int width, int height, Rgb uniform)
{
    const int columns = (width + kTile - 1) / kTile;
    const int rows = (height + kTile - 1) / kTile;
    const std::size_t count = std::size_t(columns) * std::size_t(rows);
    if (columns != m_columns || rows != m_rows) {
        std::vector<std::uint8_t> marked(count, 0);
        for (int row = 0; row < std::min(rows, m_rows); ++row)
            for (int column = 0; column < std::min(columns, m_columns); ++column)
                marked[std::size_t(row) * columns + column] = m_marked[at(row, column)];
        m_marked.swap(marked);
        m_columns = columns;
        m_rows = rows;
    }
    m_holds.assign(count, uniform);
    m_shown.assign(count, kUnknown); // the screen gets the whole window after a resize
}

ChangedTiles::Span ChangedTiles::columns(int left, int right) const
{
    if (right < 0 || left > right)
        return {};
    return {std::max(left, 0) / kTile, std::min(right / kTile, m_columns - 1)};
}

ChangedTiles::Span ChangedTiles::rows(int top, int bottom) const
{
    if (bottom < 0 || top > bottom)
        return {};
    return {std::max(top, 0) / kTile, std::min(bottom / kTile, m_rows - 1)};
}

void ChangedTiles::mark(const PixelRect &area)
{
    // Called for every slanted line drawn: plain arithmetic.
    const Span across = columns(area.left, area.right);
    const Span down = rows(area.top, area.bottom);
    if (across.first > across.last || down.first > down.last)
        return;
    for (int row = down.first; row <= down.last; ++row) {
        std::fill_n(m_marked.begin() + at(row, across.first), across.last - across.first + 1,
            std::uint8_t(1));
        std::fill_n(
            m_holds.begin() + at(row, across.first), across.last - across.first + 1, kUnknown);
    }
    m_any = true;
}

void ChangedTiles::markFill(const PixelRect &touched, const PixelRect &covered, Rgb colour)
{
    const Span across = columns(touched.left, touched.right);
    const Span down = rows(touched.top, touched.bottom);
    for (int row = down.first; row <= down.last; ++row) {
        for (int column = across.first; column <= across.last; ++column) {
            Rgb &holds = m_holds[at(row, column)];
            if (holds == colour)
                continue;
            const PixelRect tile = tileRect(row, column);
            holds = covered.contains(tile) ? colour : kUnknown;
            m_marked[at(row, column)] = 1;
            m_any = true;
        }
    }
}

void ChangedTiles::markLine(int x1, int y1, int x2, int y2, int margin)
{
    constexpr int kMostPieces = 128;
    const int spanX = x2 - x1, spanY = y2 - y1;
    const int pieces
        = std::clamp(std::max(std::abs(spanX), std::abs(spanY)) / kTile, 1, kMostPieces);
    int startX = x1, startY = y1;
    for (int i = 1; i <= pieces; ++i) {
        const int endX = x1 + spanX * i / pieces, endY = y1 + spanY * i / pieces;
        mark({std::min(startX, endX) - margin, std::min(startY, endY) - margin,
            std::max(startX, endX) + margin, std::max(startY, endY) + margin});
        startX = endX;
        startY = endY;
    }
}

std::vector<PixelRect> ChangedTiles::take()
{
    std::vector<PixelRect> region;
    if (!m_any)
        return region;
    const auto sendable = [this](std::size_t tile) {
        return m_marked[tile] && (m_holds[tile] == kUnknown || m_holds[tile] != m_shown[tile]);
    };
    for (int row = 0; row < m_rows; ++row) {
        for (int column = 0; column < m_columns;) {
            if (!sendable(at(row, column))) {
                ++column;
                continue;
            }
            int end = column;
            while (end < m_columns && sendable(at(row, end)))
                ++end;
            region.push_back(
                {column * kTile, row * kTile, end * kTile - 1, row * kTile + kTile - 1});
            column = end;
        }
    }
    std::fill(m_marked.begin(), m_marked.end(), std::uint8_t(0));
    m_any = false;
    return region;
}

void ChangedTiles::screenLost(Rgb shows)
{
    std::fill(m_marked.begin(), m_marked.end(), std::uint8_t(1));
    std::fill(m_shown.begin(), m_shown.end(), shows);
    m_any = !m_marked.empty();
}

void ChangedTiles::painted(const PixelRect &area)
{
    const Span across = columns(area.left, area.right);
    const Span down = rows(area.top, area.bottom);
    for (int row = down.first; row <= down.last; ++row) {
        for (int column = across.first; column <= across.last; ++column) {
            const PixelRect tile = tileRect(row, column);
            // Part of a tile painted leaves the screen holding a mix of old and new.
            m_shown[at(row, column)] = area.contains(tile) ? m_holds[at(row, column)] : kUnknown;
        }
    }
}

} // namespace fotonar
