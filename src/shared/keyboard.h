#pragma once

#include "layout.h"

#include <cstddef>
#include <functional>
#include <span>

namespace fotonar {

/// The keys the window's keyboard rule knows. BackTab is Shift+Tab; FullScreen is F11, which
/// with Escape the desktop's window takes for full screen (a browser keeps both for itself).
enum class Key {
    Tab,
    BackTab,
    Left,
    Right,
    Up,
    Down,
    PageUp,
    PageDown,
    Home,
    End,
    Space,
    Enter,
    FullScreen,
    Escape,
};

/// What a key does, pressed while a control of the window has the focus.
struct KeyAction
{
    enum class Kind {
        Unused, ///< the key is the toolkit's to handle
        Stay, ///< taken, and nothing happens (an arrow at a frame's end)
        Focus, ///< the focus moves to `control`
        Choose, ///< the focus moves to option button `control`, which is chosen
        Slide, ///< the scroll bar moves to `value`
        Press, ///< button `control` is pressed
    };
    Kind kind = Kind::Unused;
    const ControlSpec *control = nullptr;
    int value = 0;
};

/// The window's keyboard, the same on every toolkit:
/// - Tab and Shift+Tab go round the controls in the layout's tab order, stopping at an option
///   button only where it is the chosen one of its frame;
/// - the arrows choose the option beside the focused one, and stop at a frame's ends;
/// - on the scroll bar, Left, Up and Page Up step towards 1, Right, Down and Page Down towards 6,
///   Home and End go to the ends;
/// - Space and Enter press the focused button; Space chooses the focused option.
/// `isChosen` tells whether an option button is the chosen one of its frame; `slowDown` is where
/// the scroll bar stands.
KeyAction keyAction(const ControlSpec &focused, Key key,
    const std::function<bool(const ControlSpec &)> &isChosen, int slowDown);

/// Where the scroll bar goes from `value` on `key` (its arrows, Page and Home/End keys, which the
/// scroll bar's own arrows and trough stand for), within kSlowDownMin to kSlowDownMax; `value`
/// for any other key.
int slideTarget(int value, Key key);

/// The controls that take the focus (buttons, options, scroll bar), by tab index.
std::span<const ControlSpec *const> tabOrder();
/// Tab: the next place in tabOrder() after `current`, forward or back, whose control `isStop`
/// takes; `current` itself when no other control does.
std::size_t nextTabStop(
    std::size_t current, bool forward, const std::function<bool(const ControlSpec &)> &isStop);
/// The option button beside `option` in its frame, to the left (step -1) or right (+1);
/// nullptr at the frame's end.
const ControlSpec *adjacentOption(const ControlSpec &option, int step);

} // namespace fotonar
