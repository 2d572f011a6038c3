#include "changedtiles.h"

#include <algorithm>
#include <cstdlib>

namespace fotonar {

void ChangedTiles::resize(int width, int height, Rgb uniform)
{
    m_width = width;
    m_height = height;
    m_columns = (width + kTile - 1) / kTile;
    m_rows = (height + kTile - 1) / kTile;
    const std::size_t count = std::size_t(m_columns) * std::size_t(m_rows);
    m_marked.assign(count, 0);
    m_holds.assign(count, uniform);
    m_shown.assign(count, kUnknown); // the screen gets the whole picture after a resize
    m_any = false;
}

PixelRect ChangedTiles::tileRect(int row, int column) const
{
    return {column * kTile, row * kTile, std::min(column * kTile + kTile, m_width) - 1,
        std::min(row * kTile + kTile, m_height) - 1};
}

ChangedTiles::Span ChangedTiles::columns(int left, int right) const
{
    if (right < 0 || left > right || left >= m_width)
        return {};
    return {std::max(left, 0) / kTile, std::min(right / kTile, m_columns - 1)};
}

ChangedTiles::Span ChangedTiles::rows(int top, int bottom) const
{
    if (bottom < 0 || top > bottom || top >= m_height)
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
        std::fill_n(m_marked.begin() + std::ptrdiff_t(at(row, across.first)),
            across.last - across.first + 1, std::uint8_t(1));
        std::fill_n(m_holds.begin() + std::ptrdiff_t(at(row, across.first)),
            across.last - across.first + 1, kUnknown);
    }
    m_any = true;
}

void ChangedTiles::markFill(const PixelRect &area, Rgb colour)
{
    const Span across = columns(area.left, area.right);
    const Span down = rows(area.top, area.bottom);
    for (int row = down.first; row <= down.last; ++row) {
        for (int column = across.first; column <= across.last; ++column) {
            Rgb &holds = m_holds[at(row, column)];
            if (holds == colour)
                continue;
            holds = area.contains(tileRect(row, column)) ? colour : kUnknown;
            m_marked[at(row, column)] = 1;
            m_any = true;
        }
    }
}

void ChangedTiles::markLine(int x1, int y1, int x2, int y2, int margin)
{
    constexpr int kMostPieces = 512;
    const int spanX = x2 - x1, spanY = y2 - y1;
    const int pieces
        = std::clamp(std::max(std::abs(spanX), std::abs(spanY)) / kTile, 1, kMostPieces);
    int startX = x1, startY = y1;
    for (int i = 1; i <= pieces; ++i) {
        const int endX = int(x1 + std::int64_t(spanX) * i / pieces);
        const int endY = int(y1 + std::int64_t(spanY) * i / pieces);
        mark({std::min(startX, endX) - margin, std::min(startY, endY) - margin,
            std::max(startX, endX) + margin, std::max(startY, endY) + margin});
        startX = endX;
        startY = endY;
    }
}

template<typename Take>
std::vector<PixelRect> ChangedTiles::runs(const PixelRect &area, Take take) const
{
    std::vector<PixelRect> found;
    const Span across = columns(area.left, area.right);
    const Span down = rows(area.top, area.bottom);
    for (int row = down.first; row <= down.last; ++row) {
        for (int column = across.first; column <= across.last;) {
            if (!take(at(row, column))) {
                ++column;
                continue;
            }
            int end = column;
            while (end <= across.last && take(at(row, end)))
                ++end;
            const PixelRect first = tileRect(row, column), last = tileRect(row, end - 1);
            found.push_back({std::max(first.left, area.left), std::max(first.top, area.top),
                std::min(last.right, area.right), std::min(last.bottom, area.bottom)});
            column = end;
        }
    }
    return found;
}

std::vector<PixelRect> ChangedTiles::unlike(const PixelRect &area, Rgb colour) const
{
    return runs(area, [&](std::size_t tile) { return m_holds[tile] != colour; });
}

std::vector<PixelRect> ChangedTiles::take()
{
    if (!m_any)
        return {};
    std::vector<PixelRect> region = runs(
        {0, 0, m_width - 1, m_height - 1}, [this](std::size_t tile) {
            // NOLINTNEXTLINE(readability-implicit-bool-conversion): a mark is a flag, 0 or 1
            return m_marked[tile] && (m_holds[tile] == kUnknown || m_holds[tile] != m_shown[tile]);
        });
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
            // Part of a tile painted leaves the screen holding a mix of old and new.
            m_shown[at(row, column)]
                = area.contains(tileRect(row, column)) ? m_holds[at(row, column)] : kUnknown;
        }
    }
}

} // namespace fotonar
