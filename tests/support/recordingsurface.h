#pragma once

#include "parameters.h"
#include "surface.h"

#include <map>
#include <string>
#include <vector>

namespace fotonar::test {

/// One call a run made on its surface, with the drawing state in force at the time.
struct Op
{
    enum Kind { PenWidth, FillStyleSet, FillColourSet, Line, Circle, Show, Move, Present, Flush };
    Kind kind = Line;
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0, r = 0;
    std::optional<Colour> colour; ///< the line's or outline's own colour; none: foreground
    int penWidth = 0; ///< after PenWidth: the new width; for drawings: the width in force
    FillStyle fillStyle = FillStyle::Transparent; ///< in force (for FillStyleSet: the new one)
    Colour fillColour = 0; ///< in force (for FillColourSet: the new one)
    Control control = Control::labZdroj;

    bool operator==(const Op &) const = default;
};

/// A surface that draws nothing and remembers every call, for tests without a display.
class RecordingSurface : public Surface
{
public:
    std::vector<Op> ops;

    void setPenWidth(int pixels) override
    {
        m_penWidth = pixels;
        record(Op::PenWidth);
    }
    void setFillStyle(FillStyle style) override
    {
        m_fillStyle = style;
        record(Op::FillStyleSet);
    }
    void setFillColour(Colour colour) override
    {
        m_fillColour = colour;
        record(Op::FillColourSet);
    }
    void drawLine(float x1, float y1, float x2, float y2, std::optional<Colour> colour) override
    {
        Op &op = record(Op::Line);
        op.x1 = x1, op.y1 = y1, op.x2 = x2, op.y2 = y2, op.colour = colour;
    }
    void drawCircle(float x, float y, float r, std::optional<Colour> colour) override
    {
        Op &op = record(Op::Circle);
        op.x1 = x, op.y1 = y, op.r = r, op.colour = colour;
    }
    void showControl(Control control) override { record(Op::Show).control = control; }
    void moveControl(Control control, float left, float top) override
    {
        Op &op = record(Op::Move);
        op.control = control, op.x1 = left, op.y1 = top;
    }
    void present() override { record(Op::Present); }
    void flush() override { record(Op::Flush); }

    std::vector<Op> only(Op::Kind kind) const
    {
        std::vector<Op> result;
        for (const Op &op : ops)
            if (op.kind == kind)
                result.push_back(op);
        return result;
    }

private:
    Op &record(Op::Kind kind)
    {
        Op op;
        op.kind = kind;
        op.penWidth = m_penWidth;
        op.fillStyle = m_fillStyle;
        op.fillColour = m_fillColour;
        ops.push_back(op);
        return ops.back();
    }

    int m_penWidth = 0;
    FillStyle m_fillStyle = FillStyle::Transparent;
    Colour m_fillColour = 0;
};

/// Parameter fields held as plain texts; a comma reads as the decimal separator, as in Czech.
class FixedParameters : public Parameters
{
public:
    FixedParameters(std::string index, std::string distance, std::string slowDown = "1")
        : m_texts {{Field::nIndex, std::move(index)}, {Field::nVzdalenost, std::move(distance)},
            {Field::nSpomaleni, std::move(slowDown)}}
    { }

    std::string text(Field field) const override { return m_texts.at(field); }
    std::optional<double> number(Field field) const override;

private:
    std::map<Field, std::string> m_texts;
};

} // namespace fotonar::test
