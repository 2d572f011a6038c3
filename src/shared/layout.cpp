#include "layout.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string>

namespace fotonar {

namespace {

constexpr Colour kGrey = kBackgroundGrey;

using enum ControlId;
using enum ControlKind;

// id, kind, name, container, {left, top, width, height}, caption, font px, background, tab index,
// visible, enabled, accessible name, revealed as, what choosing it writes.
constexpr auto kLayout = std::to_array<ControlSpec>({
    {frmVzdalenost, Frame, "frmVzdalenost", {}, {40, 8, 97, 33}, "Dál od Zdroje", 13, kGrey, 14,
        true, true, {}, {}, {}},
    {op400, Option, "op400", frmVzdalenost, {8, 16, 41, 13}, "400", 0, kGrey, 15, true, true, {},
        {}, FieldWrite {Field::nVzdalenost, 400}},
    {op100, Option, "op100", frmVzdalenost, {48, 16, 41, 13}, "100", 0, kGrey, 16, true, true, {},
        {}, FieldWrite {Field::nVzdalenost, 100}},
    {frmIndex, Frame, "frmIndex", {}, {152, 8, 161, 33}, "Index lomu", 13, kGrey, 2, true, true, {},
        {}, {}},
    {op1, Option, "op1", frmIndex, {8, 16, 25, 13}, "1", 0, kGrey, 3, true, true, {}, {},
        FieldWrite {Field::nIndex, 1}},
    {op15, Option, "op15", frmIndex, {40, 16, 41, 13}, "1,5", 0, kGrey, 18, true, true, {}, {},
        FieldWrite {Field::nIndex, 1.5}},
    {op2, Option, "op2", frmIndex, {80, 16, 33, 13}, "2", 0, kGrey, 17, true, true, {}, {},
        FieldWrite {Field::nIndex, 2}},
    {op25, Option, "op25", frmIndex, {112, 16, 41, 13}, "2,5", 0, kGrey, 19, true, true, {}, {},
        FieldWrite {Field::nIndex, 2.5}},
    {HScroll1, ScrollBar, "HScroll1", {}, {336, 40, 145, 17}, "", 0, {}, 25, true, true,
        "Zpomalení", {}, {}},
    {cmdStart, Button, "cmdStart", {}, {536, 8, 89, 25}, "Start", 19, {}, 0, true, true, {}, {},
        {}},
    {cmdKonec, Button, "cmdKonec", {}, {640, 8, 73, 25}, "Konec", 19, {}, 10, true, true, {}, {},
        {}},
    {labFotonar, Label, "labFotonar", {}, {320, 8, 201, 25}, "Fotonar paprsků světla", 23, kGrey, 4,
        true, true, {}, {}, {}},
    {labKliknout, Label, "labKliknout", {}, {256, 192, 329, 57}, "Klikněte na tlačítko Start", 21,
        kGrey, 11, true, true, {}, {}, {}},
    {labZdroj, Label, "labZdroj", {}, {632, 56, 81, 17}, "Zdroj světla", 16, kLightGreen, 6, false,
        true, {}, Control::labZdroj, {}},
    {labDetektor, Label, "labDetektor", {}, {272, 72, 73, 17}, "Detektor", 16, kGrey, 7, false,
        true, {}, Control::labDetektor, {}},
    {labCas, Label, "labCas", {}, {648, 32, 41, 17}, "Čas", 16, kLightGreen, 8, false, false, {},
        Control::labCas, {}},
    {labSuma, Label, "labSuma", {}, {480, 32, 121, 17}, "Cornuova spirála", 16, kGrey, 9, false,
        true, {}, Control::labSuma, {}},
    {labRadiusvektory, Label, "labRadiusvektory", {}, {408, 64, 297, 17},
        "Radiusvektory fotonů na optických trasách", 16, kGrey, 12, false, true, {},
        Control::labRadiusvektory, {}},
    {imaAlfy, Image, "imaAlfy", {}, {376, 72, 15, 11}, "alfa", 0, {}, -1, false, true, "úhel α",
        Control::imaAlfy, {}},
    {imaBeta, Image, "imaBeta", {}, {504, 48, 12, 22}, "beta", 0, {}, -1, false, true, "úhel β",
        Control::imaBeta, {}},
});

// Row i is control i, so that a control's row is one lookup.
constexpr bool rowsInIdOrder()
{
    for (std::size_t row = 0; row < kLayout.size(); ++row)
        if (kLayout[row].id != ControlId(row))
            return false;
    return kLayout.size() == kControlCount;
}
static_assert(rowsInIdOrder(), "the layout's rows are in the order of ControlId");

} // namespace

std::span<const ControlSpec> windowLayout()
{
    return kLayout;
}

const ControlSpec &controlSpec(ControlId id)
{
    return kLayout[std::size_t(id)];
}

const ControlSpec &revealedControl(Control control)
{
    for (const ControlSpec &entry : kLayout)
        if (entry.revealedAs == control)
            return entry;
    throw std::logic_error("no control for what a run reveals");
}

std::string_view accessibleName(const ControlSpec &entry)
{
    return entry.accessibleName.empty() ? entry.caption : entry.accessibleName;
}

std::string windowCaption()
{
    return std::string("Fotonar světla - ") + FOTONAR_HOMEPAGE;
}

int titleRoom()
{
    return controlSpec(ControlId::cmdStart).box.left - controlSpec(ControlId::labFotonar).box.left
        - 2;
}

TitleFit fitTitle(double advance, int characters, double scale)
{
    const double room = titleRoom() * scale;
    const double box = controlSpec(ControlId::labFotonar).box.width * scale;
    const double spacing = advance > room && characters > 0 ? (room - advance) / characters : 0;
    return {std::max(box, std::min(advance + 2 * scale, room)), spacing};
}

double captionSpacing(const ControlSpec &label, double advance, int characters, double scale)
{
    const double box = label.box.width * scale;
    return advance > box && characters > 0 ? (box - advance) / characters : 0;
}

bool opensMaximized(int width, int height, double scale)
{
    return kPreferredWidth * scale > kMaximizeShare * width
        || kPreferredHeight * scale > kMaximizeShare * height;
}

} // namespace fotonar
