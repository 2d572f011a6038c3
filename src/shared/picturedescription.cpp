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

// The run's numbers as the fields write them, with the locale's decimal separator.
class NumberText
{
public:
    explicit NumberText(std::string_view separator)
        : m_separator(separator)
    { }

    // A position or length to a tenth of a pixel: "436", "290,5".
    std::string operator()(double value) const
    {
        std::string text = fixedText(value, 1, m_separator);
        const std::string zero = std::string(m_separator) + "0";
        if (text.ends_with(zero))
            text.erase(text.size() - zero.size());
        return text == "-0" ? "0" : text;
    }
    // To two places, as the ratio of the sines is written and compared with the index: "2,03".
    std::string hundredths(double value) const { return fixedText(value, 2, m_separator); }

private:
    std::string_view m_separator;
};

std::string degrees(double radians)
{
    return wholeNumberText(int(std::lround(radians * 180 / std::numbers::pi))) + "°";
}

// The angles of the least-time path to the normal, in radians: α of the detector's leg in the
// upper medium, β of the source's leg in the lower one.
struct Angles
{
    double alpha = 0;
    double beta = 0;
};

Angles leastTimeAngles(const RunResults &results)
{
    const RunState &s = results.state;
    const double detectorSide = std::abs(results.shortestX - s.detectorX);
    const double sourceSide = std::abs(s.sourceX - results.shortestX);
    return {std::atan2(detectorSide, std::abs(s.boundaryY - s.detectorY)),
        std::atan2(sourceSide, std::abs(s.sourceY - s.boundaryY))};
}

// The run's own least-time path, as the sweep met it.
std::optional<PathRecord> leastTimePath(const RunResults &results)
{
    const auto found = std::find_if(results.paths.begin(), results.paths.end(),
        [&results](const PathRecord &path) { return path.crossX == results.shortestX; });
    return found == results.paths.end() ? std::nullopt : std::optional(*found);
}

// The sentences about one finished run, a topic each, in the order the description reads them.

std::string sceneSentence(const RunState &s, const NumberText &number)
{
    return "Zvolený index lomu je " + number(s.indexN) + " a vzdálenost detektoru "
        + number(s.distanceD) + ". Zdroj světla je dole v zeleném prostředí na x = "
        + number(s.sourceX) + ", detektor nahoře v šedém prostředí s indexem lomu 1 na x = "
        + number(s.detectorX) + ".";
}

std::string pathsSentence(const RunResults &results, const NumberText &number)
{
    if (results.paths.empty())
        return {};
    return "Každá dráha fotonu vede ze zdroje do jednoho bodu vodorovného rozhraní a odtud do "
           "detektoru; body leží od x = "
        + number(results.paths.front().crossX) + " do x = " + number(results.paths.back().crossX)
        + " a drah je " + wholeNumberText(int(results.paths.size())) + ".";
}

constexpr std::string_view kAnglesSentence = "Úhly α a β svírá dráha nejkratšího času s kolmicí k "
                                             "rozhraní: α nahoře u detektoru, β dole u zdroje.";

std::string lawSentence(const RunState &s, Angles angles, const NumberText &number)
{
    const double sinBeta = std::sin(angles.beta);
    if (std::abs(sinBeta) < 1e-12)
        return "Úhel β je nulový, a tak podíl sin α / sin β nelze spočítat.";
    const double ratio = std::sin(angles.alpha) / sinBeta;
    const std::string start = "Podíl sin α / sin β je " + number.hundredths(ratio);
    const std::string index = number(s.indexN);
    const std::string ending = ": nejkratší čas dává zákon lomu.";
    if (number.hundredths(ratio) == number.hundredths(s.indexN))
        return start + ", stejný jako index lomu " + index + ending;
    if (std::abs(ratio - s.indexN) <= kCloseShare * std::abs(s.indexN))
        return start + ", skoro stejný jako index lomu " + index + ending;
    return start + " a index lomu je " + index + ": body rozhraní jsou od sebe "
        + wholeNumberText(s.sweepStep)
        + " pixelů, a tak nejkratší z drah splňuje zákon lomu jen přibližně.";
}

std::string timeBarsSentence(const std::string &crossing)
{
    return "Sloupce časového grafu ukazují, jak dlouho letí foton po každé dráze; nejnižší "
           "je u bodu "
        + crossing + ".";
}

constexpr std::string_view kArrowsSentence
    = "Pod grafem je řada šipek fotonů, každá otočená podle optické délky své dráhy; poloviční "
      "šipky položené za sebou tvoří Cornuovu spirálu.";

std::string resultantSentence(const RunResults &results, const NumberText &number)
{
    const double length = std::hypot(results.state.spiralX - results.spiralOrigin.x,
        results.state.spiralY - results.spiralOrigin.y);
    return "Zelená výslednice vede od začátku spirály k jejímu konci a měří "
        + number(std::round(length)) + " pixelů: je to součet všech šipek.";
}

std::string contributionSentence(const RunResults &results, const NumberText &number)
{
    // The paths whose arrows point within half a turn of the least-time path's add up; the
    // others turn round and round and cancel out. Which they are is read off the run's own
    // phases, so that the words follow what was drawn.
    const std::optional<PathRecord> least = leastTimePath(results);
    if (!least)
        return {};
    std::vector<double> near;
    for (const PathRecord &path : results.paths)
        if (std::abs(path.phase - least->phase) < std::numbers::pi)
            near.push_back(path.crossX);
    const auto [from, to] = std::minmax_element(near.begin(), near.end());
    return "Nejvíc k ní přispívají dráhy přes rozhraní od x = " + number(*from)
        + " do x = " + number(*to) + ", " + wholeNumberText(int(near.size())) + " z "
        + wholeNumberText(int(results.paths.size()))
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
    const NumberText number(separator);
    const RunState &s = results.state;
    const Angles angles = leastTimeAngles(results);
    const std::string crossing = "x = " + number(results.shortestX);
    PictureDescription picture;
    picture.name = std::string(kName) + ": index lomu " + number(s.indexN)
        + ", vzdálenost detektoru " + number(s.distanceD);
    picture.summary = "Běh skončil: dráha nejkratšího času protíná rozhraní v bodě " + crossing
        + ", úhel α je " + degrees(angles.alpha) + " a úhel β " + degrees(angles.beta) + ".";
    picture.description = joined({picture.summary, sceneSentence(s, number),
        pathsSentence(results, number), std::string(kAnglesSentence),
        lawSentence(s, angles, number), timeBarsSentence(crossing), std::string(kArrowsSentence),
        resultantSentence(results, number), contributionSentence(results, number)});
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
