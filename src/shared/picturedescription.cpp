#include "picturedescription.h"

#include "fieldtext.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

namespace fotonar {

namespace {

constexpr std::string_view kName = "Obraz běhu";
// The ratio of the sines "agrees" with the index within this share of it; beyond it, the 7 px
// between the boundary points of the sweep show.
constexpr double kCloseShare = 0.05;

std::string joined(std::initializer_list<std::string> sentences)
{
    std::string text;
    for (const std::string &sentence : sentences)
        text += (text.empty() || sentence.empty() ? "" : " ") + sentence;
    return text;
}

// The sentences about one finished run, with its numbers as the fields write them.
class ResultWriter
{
public:
    ResultWriter(const RunResults &results, std::string_view separator)
        : m_results(results)
        , m_state(results.state)
        , m_separator(separator)
    { }

    std::string name() const
    {
        return std::string(kName) + ": index lomu " + number(m_state.indexN)
            + ", vzdálenost detektoru " + number(m_state.distanceD);
    }

    std::string summary() const
    {
        return "Běh skončil: dráha nejkratšího času protíná rozhraní v bodě " + crossing()
            + ", úhel α je " + degrees(alpha()) + " a úhel β " + degrees(beta()) + ".";
    }

    std::string details() const
    {
        return joined(
            {scene(), paths(), angles(), law(), timeBars(), arrows(), resultant(), contribution()});
    }

private:
    std::string scene() const
    {
        return "Zvolený index lomu je " + number(m_state.indexN) + " a vzdálenost detektoru "
            + number(m_state.distanceD)
            + ". Zdroj světla je dole v zeleném prostředí na x = " + number(m_state.sourceX)
            + ", detektor nahoře v šedém prostředí s indexem lomu 1 na x = "
            + number(m_state.detectorX) + ".";
    }

    std::string paths() const
    {
        if (m_results.paths.empty())
            return {};
        return "Každá dráha fotonu vede ze zdroje do jednoho bodu vodorovného rozhraní a odtud do "
               "detektoru; body leží od x = "
            + number(m_results.paths.front().crossX)
            + " do x = " + number(m_results.paths.back().crossX) + " a drah je "
            + wholeNumberText(int(m_results.paths.size())) + ".";
    }

    static std::string angles()
    {
        return "Úhly α a β svírá dráha nejkratšího času s kolmicí k rozhraní: α nahoře u "
               "detektoru, β dole u zdroje.";
    }

    std::string law() const
    {
        const double sinBeta = std::sin(beta());
        if (std::abs(sinBeta) < 1e-12)
            return "Úhel β je nulový, a tak podíl sin α / sin β nelze spočítat.";
        const double ratio = std::sin(alpha()) / sinBeta;
        const std::string start = "Podíl sin α / sin β je " + fixedText(ratio, 2, m_separator);
        const std::string index = number(m_state.indexN);
        const std::string ending = ": nejkratší čas dává zákon lomu.";
        if (fixedText(ratio, 2, m_separator) == fixedText(m_state.indexN, 2, m_separator))
            return start + ", stejný jako index lomu " + index + ending;
        if (std::abs(ratio - m_state.indexN) <= kCloseShare * std::abs(m_state.indexN))
            return start + ", skoro stejný jako index lomu " + index + ending;
        return start + " a index lomu je " + index + ": body rozhraní jsou od sebe "
            + wholeNumberText(m_state.sweepStep)
            + " pixelů, a tak nejkratší z drah splňuje zákon lomu jen přibližně.";
    }

    std::string timeBars() const
    {
        return "Sloupce časového grafu ukazují, jak dlouho letí foton po každé dráze; nejnižší "
               "je u bodu "
            + crossing() + ".";
    }

    static std::string arrows()
    {
        return "Pod grafem je řada šipek fotonů, každá otočená podle optické délky své dráhy; "
               "poloviční šipky položené za sebou tvoří Cornuovu spirálu.";
    }

    std::string resultant() const
    {
        const double length = std::hypot(
            m_state.spiralX - m_results.spiralOrigin.x, m_state.spiralY - m_results.spiralOrigin.y);
        return "Zelená výslednice vede od začátku spirály k jejímu konci a měří "
            + number(std::round(length)) + " pixelů: je to součet všech šipek.";
    }

    std::string contribution() const;

    // The run's own least-time path, as the sweep met it.
    std::optional<PathRecord> shortest() const
    {
        const auto found = std::find_if(m_results.paths.begin(), m_results.paths.end(),
            [this](const PathRecord &path) { return path.crossX == m_results.shortestX; });
        return found == m_results.paths.end() ? std::nullopt : std::optional(*found);
    }

    // The angles of the least-time path to the normal, in radians: α of the detector's leg in
    // the upper medium, β of the source's leg in the lower one.
    double alpha() const
    {
        return std::atan2(std::abs(m_results.shortestX - m_state.detectorX),
            std::abs(m_state.boundaryY - m_state.detectorY));
    }
    double beta() const
    {
        return std::atan2(std::abs(m_state.sourceX - m_results.shortestX),
            std::abs(m_state.sourceY - m_state.boundaryY));
    }

    std::string crossing() const { return "x = " + number(m_results.shortestX); }
    static std::string degrees(double radians)
    {
        return wholeNumberText(int(std::lround(radians * 180 / std::numbers::pi))) + "°";
    }
    // A position or length to a tenth of a pixel, in the fields' notation: "436", "290,5".
    std::string number(double value) const
    {
        std::string text = fixedText(value, 1, m_separator);
        const std::string zero = std::string(m_separator) + "0";
        if (text.ends_with(zero))
            text.erase(text.size() - zero.size());
        return text == "-0" ? "0" : text;
    }

    const RunResults &m_results;
    const RunState &m_state;
    std::string_view m_separator;
};

std::string ResultWriter::contribution() const
{
    // The paths whose arrows point within half a turn of the least-time path's add up; the
    // others turn round and round and cancel out. Which they are is read off the run's own
    // phases, so that the words follow what was drawn.
    const std::optional<PathRecord> least = shortest();
    if (!least)
        return {};
    std::vector<double> near;
    for (const PathRecord &path : m_results.paths)
        if (std::abs(path.phase - least->phase) < std::numbers::pi)
            near.push_back(path.crossX);
    const auto [from, to] = std::minmax_element(near.begin(), near.end());
    return "Nejvíc k ní přispívají dráhy přes rozhraní od x = " + number(*from)
        + " do x = " + number(*to) + ", " + wholeNumberText(int(near.size())) + " z "
        + wholeNumberText(int(m_results.paths.size()))
        + ": jejich šipky se od šipky dráhy nejkratšího času liší o méně než půl otáčky. Šipky "
          "ostatních drah se točí dokola a navzájem se ruší.";
}

PictureDescription single(std::string name, const std::string &sentence)
{
    return {std::move(name), sentence, sentence};
}

} // namespace

RunResults RunResults::of(const Run &run)
{
    return {run.state(), run.shortestX(), run.spiralOrigin(), run.paths()};
}

PictureDescription describeEmptyPicture()
{
    return single(std::string(kName),
        "Tlačítko Start zde nakreslí lom světla: zdroj a detektor, dráhy fotonů mezi nimi, "
        "jejich šipky s Cornuovou spirálou a dráhu nejkratšího času.");
}

PictureDescription describeRunningPicture()
{
    return single(
        std::string(kName), "Běh probíhá: dráhy fotonů se kreslí jedna po druhé zleva doprava.");
}

PictureDescription describeResults(const RunResults &results, std::string_view separator)
{
    const ResultWriter writer(results, separator);
    PictureDescription picture {writer.name(), writer.summary(), {}};
    picture.description = joined({picture.summary, writer.details()});
    return picture;
}

PictureDescription describeRunError(std::string_view errorText)
{
    // The box's lines become one: a description is read as running text.
    std::string line;
    for (const char c : errorText)
        if (c != '\n')
            line += c;
        else if (!line.empty() && line.back() != ' ')
            line += ' ';
    return single(std::string(kName) + ": chyba za běhu programu", line);
}

} // namespace fotonar
