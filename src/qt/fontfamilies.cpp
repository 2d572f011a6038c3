#include "fontfamilies.h"

#include "layout.h"

#include <fontconfig/fontconfig.h>

#include <map>
#include <mutex>
#include <string_view>

namespace fotonar {

namespace {

std::mutex resolvedMutex;

std::map<QString, QString> &resolvedFamilies()
{
    static std::map<QString, QString> families;
    return families;
}

// fontconfig's best match: the same substitutions and the same order of preference as Qt's
// own sorted list, whose first family Qt takes, at the cost of one pass over the fonts.
QString askFontconfig(const QString &requested)
{
    FcPattern *pattern = FcPatternCreate();
    const QByteArray name = requested.toUtf8();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8 *>(name.constData()));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern *match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    QString family = requested;
    FcChar8 *found = nullptr;
    if (match && FcPatternGetString(match, FC_FAMILY, 0, &found) == FcResultMatch)
        family = QString::fromUtf8(reinterpret_cast<const char *>(found));
    if (match)
        FcPatternDestroy(match);
    return family;
}

} // namespace

QString installedFamily(const QString &requested)
{
    const std::lock_guard lock(resolvedMutex);
    auto known = resolvedFamilies().find(requested);
    if (known == resolvedFamilies().end())
        known = resolvedFamilies().emplace(requested, askFontconfig(requested)).first;
    return known->second;
}

void resolveWindowFamilies()
{
    for (const std::string_view family : {kCaptionFamily, kDefaultFamily})
        installedFamily(QString::fromLatin1(family.data(), qsizetype(family.size())));
}

QFont fontOfFamily(const QString &requested)
{
    // The installed family alone: a second family in the list would make Qt sort every font for
    // a fallback list as the first engine loads, before the window can appear. Glyphs missing
    // from the family are still found, when they are first drawn.
    return QFont(installedFamily(requested));
}

} // namespace fotonar
