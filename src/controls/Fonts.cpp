#include "controls/Fonts.h"

#include <QStringList>

namespace kzm::ui {

namespace {

struct TFontSubstitution {
  const char* name;
  const char* substitutes;  // comma separated, first choice first
};

// Proportional names go to the proportional IPA fonts, fixed-pitch ones to the fixed-pitch
// ones. "Alba" (a decorative label font) has no counterpart here and takes the gothic.
constexpr TFontSubstitution kSubstitutions[] = {
    {"ＭＳ Ｐゴシック", "IPAPGothic,IPAexGothic,Noto Sans CJK JP,IPAGothic"},
    {"MS PGothic", "IPAPGothic,IPAexGothic,Noto Sans CJK JP,IPAGothic"},
    {"ＭＳ ゴシック", "IPAGothic,Noto Sans Mono CJK JP,IPAPGothic"},
    {"MS Gothic", "IPAGothic,Noto Sans Mono CJK JP,IPAPGothic"},
    {"ＭＳ Ｐ明朝", "IPAPMincho,IPAexMincho,Noto Serif CJK JP,IPAMincho"},
    {"ＭＳ 明朝", "IPAMincho,Noto Serif CJK JP,IPAPMincho"},
    {"MS UI Gothic", "IPAPGothic,IPAexGothic,Noto Sans CJK JP"},
    {"Alba", "IPAPGothic,IPAexGothic,Noto Sans CJK JP"},
};

}  // namespace

void InstallFontSubstitutions() {
  for (const TFontSubstitution& s : kSubstitutions) {
    QFont::insertSubstitutions(QString::fromUtf8(s.name), QString::fromUtf8(s.substitutes).split(QLatin1Char(',')));
  }
}

QFont ProgramFont(int pointSize) {
  QFont font(QString::fromUtf8(kProgramFontFamily), pointSize);
  font.setStyleHint(QFont::SansSerif);
  return font;
}

}  // namespace kzm::ui
