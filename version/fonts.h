#pragma once
// The windows name their fonts as the program was designed ("ＭＳ Ｐゴシック",
// "ＭＳ Ｐ明朝", "ＭＳ 明朝"); these map the names to the IPA fonts, drawn to
// the same metrics. Call once after the application object exists and
// before the first window is created.
#include <QString>

namespace telvara {

inline const QString kGothicP = QStringLiteral("ＭＳ Ｐゴシック");
inline const QString kMinchoP = QStringLiteral("ＭＳ Ｐ明朝");
inline const QString kMincho = QStringLiteral("ＭＳ 明朝");

void installFontSubstitutions();

} // namespace telvara
