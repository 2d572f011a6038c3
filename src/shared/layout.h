#pragma once

#include "colour.h"
#include "fieldtext.h"
#include "surface.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace fotonar {

/// The window's layout, the same on every platform. Geometry is in pixels of the design at
/// 96 dots per inch (a front end scales it to the screen); positions inside a frame are relative
/// to the frame's top-left corner, all others to the client area's.

enum class ControlKind { Frame, Option, ScrollBar, Button, Label, Image };

/// The window's controls, one for each row of the layout table and in its order. Each is named
/// as the control is (its widget's object name, its element's id in the page, its handlers'
/// names), so that a control is named in code by its enumerator and a misspelt one does not
/// compile.
enum class ControlId {
    frmVzdalenost,
    op400,
    op100,
    frmIndex,
    op1,
    op15,
    op2,
    op25,
    HScroll1,
    cmdStart,
    cmdKonec,
    labFotonar,
    labKliknout,
    labZdroj,
    labDetektor,
    labCas,
    labSuma,
    labRadiusvektory,
    imaAlfy,
    imaBeta,
};
inline constexpr std::size_t kControlCount = std::size_t(ControlId::imaBeta) + 1;

struct Box
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    int right() const { return left + width; }
    bool operator==(const Box &) const = default;
};

struct ControlSpec
{
    ControlId id;
    ControlKind kind;
    std::string_view name; ///< op15, cmdStart, ...: its object name and element id
    std::optional<ControlId> container; ///< the frame it stands in; none for the window
    Box box;
    std::string_view caption; ///< UTF-8; for an image, the bitmap's name ("alfa", "beta")
    /// Pixel size at 96 dpi of its "Times New Roman" bold font (9.75 pt is 13 px, 12 pt 16,
    /// 14.25 pt 19, 15.75 pt 21, 17.25 pt 23); 0: the toolkit's default font.
    int fontPixels;
    std::optional<Colour> background; ///< painted behind it; none: the toolkit's own
    int tabIndex; ///< place in the keyboard order, lowest first; -1 for an image
    bool visible; ///< at start-up
    bool enabled;
    /// For a screen reader, where the caption does not say it.
    std::string_view accessibleName;
    /// The name under which a run reveals and moves it, for the seven hidden ones.
    std::optional<Control> revealedAs;
    /// What choosing it writes into a parameter field, for an option button.
    std::optional<FieldWrite> writes;
};

/// Every control of the window, in the order they are created: row i is ControlId(i).
std::span<const ControlSpec> windowLayout();
/// The row of control `id`.
const ControlSpec &controlSpec(ControlId id);
/// The label or image that a run reveals and moves as `control`: the run's name for it mapped
/// to the window's.
const ControlSpec &revealedControl(Control control);
/// The text an accessibility tool reads for a control: its accessible name, or its caption.
std::string_view accessibleName(const ControlSpec &entry);

/// The window's caption: "Fotonar světla - " and the program's web address (UTF-8).
std::string windowCaption();
/// The client area the window asks for at 96 dpi: the picture of a run (up to x = 800,
/// y = 545) with a margin.
inline constexpr int kPreferredWidth = 820;
inline constexpr int kPreferredHeight = 580;
/// Open maximized where the preferred size would take more than this share of the screen's
/// width or height anyway (a 1024 x 768 projector, a small laptop).
inline constexpr double kMaximizeShare = 0.8;
/// The slow-down scroll bar: 1 at its left end, 6 at its right, one step per arrow or page.
inline constexpr int kSlowDownMin = 1;
inline constexpr int kSlowDownMax = 6;
/// The family of every font that the layout sets (bold, at ControlSpec::fontPixels).
inline constexpr std::string_view kCaptionFamily = "Times New Roman";
/// The family of the toolkit's default font, for the controls that set none.
inline constexpr std::string_view kDefaultFamily = "Arial";
/// The option buttons' indicator, in pixels at 96 dpi, and the space before the caption.
inline constexpr int kOptionIndicator = 13;
inline constexpr int kOptionSpacing = 3;
/// The frame around the focused scroll bar, in pixels at 96 dpi, as bold as the buttons' focus.
inline constexpr int kFocusFrame = 2;
/// The default font of the controls that have none of their own (the option buttons): the
/// classic desktop's 8-point dialog font, 11 px at 96 dpi, in Arial's metrics.
inline constexpr int kDefaultFontPixels = 11;

/// How wide the title may grow so that it stays on one line and clear of Start, at 96 dpi.
int titleRoom();

/// The title label as a front end shows it: its box's width and the space added between its
/// letters (negative: closed up), both in the units the caption was measured in.
struct TitleFit
{
    double width;
    double letterSpacing;
};
/// The title's caption is wider than its 201 px box in its font: the box widens up to
/// titleRoom(), and where even that is too narrow the letters close up so that the caption stays
/// on one line and clear of Start. `advance`: the caption's width as the toolkit measured it,
/// `characters`: its length, `scale`: device pixels per logical pixel of those measures.
TitleFit fitTitle(double advance, int characters, double scale = 1);

/// The space to add between the letters of `label`'s caption (negative: closed up) so that it
/// shows whole in its box where the toolkit's font makes it wider than the design's (WebKitGTK
/// rounds each letter's advance to whole pixels); 0 where it fits. Arguments as for fitTitle.
double captionSpacing(const ControlSpec &label, double advance, int characters, double scale = 1);

/// Whether the window opens maximized on a work area of `width` x `height` device pixels when
/// its preferred size takes `scale` device pixels a logical pixel: where that size would take
/// more than kMaximizeShare of the width or the height anyway.
bool opensMaximized(int width, int height, double scale = 1);

} // namespace fotonar
