#pragma once

#include "colour.h"

#include <optional>

namespace fotonar {

/// The labels and images that a run reveals and places when it completes.
enum class Control {
    labZdroj,
    labDetektor,
    labCas,
    imaAlfy,
    imaBeta,
    labSuma,
    labRadiusvektory,
};

enum class FillStyle { Transparent, Solid };

/// Everything a run draws or erases lies within this many logical pixels of the client area's
/// top-left corner (x 0 to 800, y 0 to 730): the least picture a surface keeps.
inline constexpr int kSceneExtentWidth = 801;
inline constexpr int kSceneExtentHeight = 731;

/// What a run draws on. Coordinates are pixels of the window's client area, origin top left,
/// y downwards; fractions are allowed and the surface rounds them to whole pixels.
/// The surface keeps its pen width, fill style and fill colour between calls.
/// Any operation may throw RunError when the window cannot carry it out.
class Surface
{
public:
    virtual ~Surface() = default;

    /// Pen width in pixels (the run uses 1, 2 and 3) for the lines and circle outlines that follow.
    virtual void setPenWidth(int pixels) = 0;
    virtual void setFillStyle(FillStyle style) = 0;
    /// Fill colour of circles drawn while the fill style is solid.
    virtual void setFillColour(Colour colour) = 0;

    /// A line from (x1, y1) to (x2, y2) in the current pen width; without a colour the window's
    /// foreground colour is used.
    virtual void drawLine(float x1, float y1, float x2, float y2, std::optional<Colour> colour) = 0;
    /// A circle of radius r around (x, y); outline in the current pen width (foreground colour
    /// when none is given), filled with the fill colour while the fill style is solid.
    virtual void drawCircle(float x, float y, float r, std::optional<Colour> colour) = 0;

    /// Makes a hidden label or image visible; it stays visible.
    virtual void showControl(Control control) = 0;
    /// Puts a label's or image's top-left corner at (left, top).
    virtual void moveControl(Control control, float left, float top) = 0;

    /// Puts what was drawn so far on the screen, even though the run keeps the thread busy. No
    /// screen shows more than one frame per refresh, so a surface may hold the drawing back
    /// until its next present() or flush() once it has put a frame on the screen within the
    /// last frame interval. The run presents after every path, before the path's pause.
    virtual void present() = 0;
    /// Puts everything drawn so far on the screen now: the run's last drawing.
    virtual void flush() = 0;
};

} // namespace fotonar
