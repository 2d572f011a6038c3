#include "keyboard.h"

#include <algorithm>
#include <vector>

namespace fotonar {

namespace {

constexpr bool takesFocus(const ControlSpec &entry)
{
    return entry.kind == ControlKind::Option || entry.kind == ControlKind::ScrollBar
        || entry.kind == ControlKind::Button;
}

KeyAction tab(const ControlSpec &focused, bool forward,
    const std::function<bool(const ControlSpec &)> &isChosen)
{
    const std::span<const ControlSpec *const> order = tabOrder();
    const auto at = std::find(order.begin(), order.end(), &focused);
    if (at == order.end())
        return {};
    const std::size_t next
        = nextTabStop(std::size_t(at - order.begin()), forward, [&](const ControlSpec &entry) {
              return entry.visible && entry.enabled
                  && (entry.kind != ControlKind::Option || isChosen(entry));
          });
    return {KeyAction::Kind::Focus, order[next]};
}

KeyAction arrowAmongOptions(const ControlSpec &option, int step)
{
    if (const ControlSpec *beside = adjacentOption(option, step))
        return {KeyAction::Kind::Choose, beside};
    return {KeyAction::Kind::Stay};
}

} // namespace

KeyAction keyAction(const ControlSpec &focused, Key key,
    const std::function<bool(const ControlSpec &)> &isChosen, int slowDown)
{
    if (key == Key::Tab || key == Key::BackTab)
        return tab(focused, key == Key::Tab, isChosen);
    switch (focused.kind) {
    case ControlKind::Option:
        if (key == Key::Left || key == Key::Up)
            return arrowAmongOptions(focused, -1);
        if (key == Key::Right || key == Key::Down)
            return arrowAmongOptions(focused, 1);
        if (key == Key::Space)
            return {KeyAction::Kind::Choose, &focused};
        return {};
    case ControlKind::ScrollBar:
        if (key == Key::Space || key == Key::Enter)
            return {};
        return {KeyAction::Kind::Slide, &focused, slideTarget(slowDown, key)};
    case ControlKind::Button:
        if (key == Key::Space || key == Key::Enter)
            return {KeyAction::Kind::Press, &focused};
        return {};
    default:
        return {};
    }
}

int slideTarget(int value, Key key)
{
    switch (key) {
    case Key::Left:
    case Key::Up:
    case Key::PageUp:
        return std::max(value - 1, kSlowDownMin);
    case Key::Right:
    case Key::Down:
    case Key::PageDown:
        return std::min(value + 1, kSlowDownMax);
    case Key::Home:
        return kSlowDownMin;
    case Key::End:
        return kSlowDownMax;
    default:
        return value;
    }
}

std::span<const ControlSpec *const> tabOrder()
{
    static const auto order = [] {
        std::vector<const ControlSpec *> focusable;
        for (const ControlSpec &entry : windowLayout())
            if (takesFocus(entry))
                focusable.push_back(&entry);
        std::stable_sort(focusable.begin(), focusable.end(),
            [](const ControlSpec *a, const ControlSpec *b) { return a->tabIndex < b->tabIndex; });
        return focusable;
    }();
    return order;
}

std::size_t nextTabStop(
    std::size_t current, bool forward, const std::function<bool(const ControlSpec &)> &isStop)
{
    const std::span<const ControlSpec *const> order = tabOrder();
    const std::size_t count = order.size();
    for (std::size_t step = 1; step < count; ++step) {
        const std::size_t candidate = (current + (forward ? step : count - step)) % count;
        if (isStop(*order[candidate]))
            return candidate;
    }
    return current;
}

const ControlSpec *adjacentOption(const ControlSpec &option, int step)
{
    const ControlSpec *nearest = nullptr;
    for (const ControlSpec &entry : windowLayout()) {
        if (entry.kind != ControlKind::Option || entry.container != option.container)
            continue;
        const int distance = (entry.box.left - option.box.left) * step;
        if (distance > 0 && (!nearest || distance < (nearest->box.left - option.box.left) * step))
            nearest = &entry;
    }
    return nearest;
}

} // namespace fotonar
