#include "version/fonts.h"

#include <QFont>
#include <QStringList>

namespace telvara {

void installFontSubstitutions() {
    // First the IPA font of the same metrics, then its sibling as a fallback.
    QFont::insertSubstitutions(kGothicP,
                               {QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")});
    QFont::insertSubstitutions(kMinchoP,
                               {QStringLiteral("IPAPMincho"), QStringLiteral("IPAMincho")});
    QFont::insertSubstitutions(kMincho,
                               {QStringLiteral("IPAMincho"), QStringLiteral("IPAPMincho")});
    QFont::insertSubstitutions(QStringLiteral("ＭＳ ゴシック"),
                               {QStringLiteral("IPAGothic"), QStringLiteral("IPAPGothic")});
}

} // namespace telvara
