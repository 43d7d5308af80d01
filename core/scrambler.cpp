#include "core/scrambler.h"

#include <cmath>

namespace talvo {
namespace {

// Generated once from a seeded shuffle; never edit: saved credentials are read with them.
// clang-format off
constexpr std::array<std::u16string_view, kScrambleTableCount> kTables = {
    u"!#$%()*+,-./0123456789<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~",  // 0
    u"B/y_(GKHW-I}\\VA~3mf)$dZ8^0F!<R9+=2lbtJQU*XuS[cp`5Tr,khEaenzOwi>Dg@4]Y?#Coj{Nqsv%.LMPx|617",  // 1
    u"jdR,Wqk[gF_2NSb\\!o]Y8?QpAECZHs0Dehr+f/^$%KB>mx@=U`y#iT}|9G5I1{Ltw*6~(zlO<a)c3Vu4JX-M7.Pvn",  // 2
    u"4zJ]@j[~/|Vmn6lwKt9P`g{Bf!$25#>?3IXD8A%Thv.c=(\\d<rYqEeoCUkLa_bRxis,Z1^p0y7u*+WM-OGQNFHS})",  // 3
    u"%-Og_5Yso4z{6b>my}i|~Qa*UB@XndH7AIMkhe=xl?rJtDvS3$Ef#w2^+KL8T`,q!]j</GNV9puC0.W)[1RZP\\c(F",  // 4
    u"ZU@boOJ!+%?1_#tG<jD$BM84V*NTH05-r},WP^[]RAdpIEqzF~x|X(gef)2693\\./mwuCy=>iYcslQnk`SLK{vh7a",  // 5
    u"3uU_[(jN^p5hT|dxQ8vBfE-mS<ac4Z1~`Hy}qw@MLkiO6J*K0!,I\\sAtG#W/R>eYP$)Xr]2b.?oV97zC+n%{=FglD",  // 6
    u"#A$yx%)pcwm<^M!GVL0.ziKNEOT5se}HXtb`qaU(2JZ-P],Wo{D9FQ/86gIBf>j=lS+R_YC?r\\nd7*u3h4@1~|[kv",  // 7
    u"(n=P52tByUJ<xKXZ#RpdjF.$V]fq+~k*l%_HQGW)g@z0N\\S3Os?-{Y/rMI76ieDva8w>Lbh|!,EA9`}mTC[c14ou^",  // 8
    u"k\\fIeia4Ll.g`WQq!zcKh21,3sdJ0rTMob-{t)[^7(B%NP8X*vjHDR+u@E|9>p]GCy?$Y#wmOVxFUAZ}/~=5n6<S_",  // 9
    u"Wkcthi[XjJpvUH-SzI=+{E<*43Y!%,(G58qKT1B]MV~9s)wN$oDla2rdFu}C`yZbOm#7@0e|\\^x/nLPf?>_g6R.AQ",  // 10
    u"(.,fNUnIst84J0ymD6Xjq^v\\|2]*!A<OWea>={h+Hg)G/w9~-_k7d`PSo%plKBYTFrR[b}$L#Q3xuZzMV@?i1cC5E",  // 11
    u"})Mxbin7BW(AdY]CJfN|K0L@UDTZ3w-*c8,{ozEvlr#mX2<.=tuy%5kPFV>sIg4jp6R~$^!eSOa?h_[HQ9G`1+/q\\",  // 12
    u"L5|Ca6^/9%GYrewH*O+[>?NjT$,Dp3<Extc~f)uk_.(US\\hZFBdM]nAyqJ1VP#`b@-m0Ql8}s2R7X4gio!=zI{vKW",  // 13
    u"_m>Y+41Q?#CkWiKpIcrlBPoz3VZ}{bJa<j^0H=]Uq-Lg`TS~E.Ad(t\\xv/,Df@$!6Nyuw%2G9XnF758|O[*Ms)Reh",  // 14
    u"zDu%wpGocZH>O2IS{\\[nkdE+$q4iNCBFgh-ax,_Ps^/W.bm)}!98X5A1M6]Ql0@=Uj(#yvJ<`7?|*YLRVretTf~3K",  // 15
    u"inLDj}#7GB9Vfq1.$pg%mRT`+{|X=8PK/^o4[h<*b,(IweWvr~Nl>@kMACS3zQ_x?tY!)6c-Z5O]Fu\\JysE2aH0dU",  // 16
    u"7-5)DVAi#tH@lu=Ua`j/nKXIF|bZB,pv0%h>(L8]$Y^zW.NmS2REo~4kqC[M_eO3gx}GQ+sy*{!9r6PwJ1df\\c?<T",  // 17
    u"v~,(X<mfn)R3r/\\z$>9_oK}gGkL5#Q!+qH.Ia0yFB@uAbpscMW?]UTjN*78SwY[1O-=%`eZdVC|26DP{xEh4t^ilJ",  // 18
    u"dH_`/LbM%E[6SncJO^yzvj4t{iZ1Wuefa.NY?p3PKCkwQ<~(9Dsr>oF$R-]=T\\B*h!5X70l,@xA+8|2}VIg)G#mUq",  // 19
    u"u~hJO/d%gap,mALsCMzqKbtQ8n^\\9B>@$Y1j`Z|]!w}#SE2F(o3Nri_yR6)+Df=v<4TPHlG[kVc?x*eI-.UW0{X75",  // 20
    u"+pC4lkf.R2GDEcx0[(SsV1H%jwuJ/ot<)rF]\\U_#8Y3}PA?W!nLQZ7ev{65`qbzO=X~mMhIK-g$^Taiy,|B>9@dN*",  // 21
};
// clang-format on

// Position of c in the base alphabet, or -1.
int AlphabetIndex(char16_t c) {
  static const std::array<std::int8_t, 128> index = [] {
    std::array<std::int8_t, 128> map{};
    map.fill(-1);
    for (int k = 0; k < kScrambleAlphabetSize; ++k)
      map[kTables[0][k]] = static_cast<std::int8_t>(k);
    return map;
  }();
  return c < 128 ? index[c] : -1;
}

int IndexIn(std::u16string_view table, char16_t c) {
  const auto pos = table.find(c);
  return pos == std::u16string_view::npos ? -1 : static_cast<int>(pos);
}

char16_t Digit(int d) { return static_cast<char16_t>(u'0' + d); }

// Reads a number the lenient way users of the old format expect: leading blanks, tabs and line
// feeds skipped, an optional sign, digits with at most one decimal point; anything else ends it.
double LenientNumber(std::u16string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == u' ' || text[i] == u'\t' || text[i] == u'\n')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  double value = 0;
  double scale = 0;  // 0 before the decimal point, then 0.1, 0.01, ...
  for (; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c >= u'0' && c <= u'9') {
      if (scale == 0) {
        value = value * 10 + (c - u'0');
      } else {
        value += (c - u'0') * scale;
        scale /= 10;
      }
    } else if (c == u'.' && scale == 0) {
      scale = 0.1;
    } else {
      break;
    }
  }
  return negative ? -value : value;
}

ScrambleRandom& ProcessRandom() {
  static ScrambleRandom random;
  return random;
}

}  // namespace

const std::array<std::u16string_view, kScrambleTableCount>& ScrambleTables() { return kTables; }

double ScrambleRandom::Next() {
  state_ += 0x9E3779B97F4A7C15ULL;
  std::uint64_t z = state_;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  z ^= z >> 31;
  return static_cast<double>(z >> 11) * 0x1.0p-53;
}

double RoundHalfEven(double value) {
  const double lower = std::floor(value);
  const double fraction = value - lower;
  if (fraction < 0.5) return lower;
  if (fraction > 0.5) return lower + 1;
  return std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
}

std::u16string EncodeText(std::u16string_view text) { return EncodeText(text, ProcessRandom()); }

std::u16string EncodeText(std::u16string_view text, ScrambleRandom& random) {
  std::array<char16_t, 8> noise{};
  for (auto& digit : noise) digit = Digit(static_cast<int>(RoundHalfEven(9 * random.Next())));
  const int table = static_cast<int>(RoundHalfEven(19 * random.Next()));

  std::u16string out;
  out.reserve(text.size() + 10);
  out.append(noise.begin(), noise.begin() + 6);
  out.push_back(Digit(table / 10));
  out.push_back(Digit(table % 10));
  out.append(noise.begin() + 6, noise.end());
  for (const char16_t c : text) {
    const int k = AlphabetIndex(c);
    out.push_back(k < 0 ? c : kTables[table][k]);
  }
  return out;
}

std::u16string DecodeText(std::u16string_view scrambled) {
  const std::u16string_view digits =
      scrambled.size() > 6 ? scrambled.substr(6, 2) : std::u16string_view{};
  const double table = RoundHalfEven(LenientNumber(digits));
  const bool known_table = table >= 0 && table < kScrambleTableCount;

  std::u16string out;
  if (scrambled.size() <= 10) return out;
  for (const char16_t c : scrambled.substr(10)) {
    if (AlphabetIndex(c) < 0) {
      out.push_back(c);
    } else if (known_table) {
      out.push_back(kTables[0][IndexIn(kTables[static_cast<int>(table)], c)]);
    }
    // An alphabet character under an unknown table has no defined original and is dropped.
  }
  return out;
}

}  // namespace talvo
