// Aspect patterns over position set 0 with the orbs of column 0: grand trine,
// kite, rectangle, T-square, grand cross, yod, yod-kite, trapezium, the 3- to
// 6-stellium and the grand sextile. Every figure is a set of aspects that all
// hold at once under the one strict in-orb test; the long lines carry the mean
// deviation from exactness of all aspects checked for the figure.
#include <algorithm>
#include <cctype>
#include <cmath>

#include "app/aspects/engine.h"
#include "app/time/date_texts.h"  // kEnglish

namespace vemo {

namespace {

bool SameTextIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

}  // namespace

void AspectEngine::FillPairTable() {
  // The same test as IsAspectInOrb; the separation is symmetric to the bit.
  const auto& lon = PlanetLongitudes[0];
  for (auto& kind : pairDeviation_) {
    for (auto& row : kind) row.fill(-1.0);
  }
  std::array<double, kNumKinds + 1> angle{};
  for (int k = 1; k <= kNumKinds; ++k) angle[static_cast<size_t>(k)] = AspectAngle(k);
  for (size_t i = 0; i < kPlanetSlots; ++i) {
    if (lon[i] < 0) continue;
    for (size_t j = i + 1; j < kPlanetSlots; ++j) {
      if (lon[j] < 0) continue;
      const double sep = AspectSeparation(lon[i], lon[j]);
      for (int k = 1; k <= kNumKinds; ++k) {
        const double dev = std::fabs(sep - angle[static_cast<size_t>(k)]);
        if (!(dev < Orbs.Orb[static_cast<size_t>(k)][0])) continue;
        pairDeviation_[static_cast<size_t>(k)][i][j] = dev;
        pairDeviation_[static_cast<size_t>(k)][j][i] = dev;
      }
    }
  }
  pairTableReady_ = true;
}

std::string AspectEngine::PatternLine(int index, bool abbreviated, const std::vector<int>& planets,
                                      double mean) const {
  std::string line;
  for (size_t n = 0; n < planets.size(); ++n) {
    if (n > 0) line += "-";
    line += abbreviated ? PlanetName(planets[n]) : PlanetAbbrev(planets[n]);
  }
  if (!abbreviated) {
    line = PatternName(index) + ": " + line;
    if (index != kGrandSextile) {
      line += " (" + Text(154) + " " + FormatAngleDM(mean) + ")";
    }
  }
  return line + kCrLf;
}

void AspectEngine::ReportPatternToRun(const std::string& name, int size, int p1, int p2, int p3,
                                      int p4, int p5, int p6) {
  int index = -1;
  for (int i = 0; i < kNumPatterns; ++i) {
    // The finders name their patterns in English, whatever the language shown.
    if (SameTextIgnoringCase(PatternName(i, kEnglish), name)) index = i;  // the finders name them in English
  }
  if (index != Run.AspectPatternToFind) return;
  const int planets[6] = {p1, p2, p3, p4, p5, p6};
  const int n = std::clamp(size, 0, 6);
  Run.NumPlanetsFound = 0;
  for (int sought : Run.SoughtPlanets) {
    if (sought <= 0) continue;
    if (std::find(planets, planets + n, sought) != planets + n) ++Run.NumPlanetsFound;
  }
  if (Run.NumPlanetsFound == Run.NumPlanetsSought) Run.SoughtPlanetsFound = true;
}

#define VEMO_REPORT_TO_RUN(...)                                   \
  do {                                                            \
    if (Run.PlanetsSought && !Run.SoughtPlanetsFound) {           \
      ReportPatternToRun(__VA_ARGS__);                            \
    }                                                             \
  } while (false)

std::string AspectEngine::FindGrandTrines(bool abbreviated, int& num) {
  std::string text;
  for (int i = 1; i <= PlanetCount; ++i) {
    for (int j = i + 1; j <= PlanetCount; ++j) {
      double sij = 0.0;
      if (!Holds(i, j, kTrine, sij)) continue;
      for (int k = j + 1; k <= PlanetCount; ++k) {
        double sum = sij;
        if (!Holds(i, k, kTrine, sum) || !Holds(j, k, kTrine, sum)) continue;
        VEMO_REPORT_TO_RUN("Grand trine", 3, i, j, k);
        ++num;
        text += PatternLine(kGrandTrine, abbreviated, {i, j, k}, sum / 3.0);
      }
    }
  }
  return text;
}

std::string AspectEngine::FindGrandSextiles(bool abbreviated, int& num) {
  std::string text;
  const int n = PlanetCount;
  for (int i = 1; i <= n; ++i) {
    for (int j = i + 1; j <= n; ++j) {
      double s = 0.0;
      if (!Holds(i, j, kTrine, s)) continue;
      for (int k = j + 1; k <= n; ++k) {
        if (!Holds(i, k, kTrine, s) || !Holds(j, k, kTrine, s)) continue;
        for (int l = i + 1; l <= n; ++l) {
          if (l == j || l == k) continue;
          for (int m = l + 1; m <= n; ++m) {
            if (m == j || m == k) continue;
            if (!Holds(l, m, kTrine, s)) continue;
            for (int o = m + 1; o <= n; ++o) {
              if (o == j || o == k) continue;
              if (!Holds(l, o, kTrine, s) || !Holds(m, o, kTrine, s)) continue;
              int sextiles = 0;
              for (int a : {i, j, k}) {
                for (int b : {l, m, o}) {
                  if (Holds(a, b, kSextile, s)) ++sextiles;
                }
              }
              if (sextiles != 6) continue;
              VEMO_REPORT_TO_RUN("Grand sextile", 6, i, j, k, l, m, o);
              num = 1;  // set, not added: the finder reports presence
              text += PatternLine(kGrandSextile, abbreviated, {i, j, k, l, m, o}, 0.0);
            }
          }
        }
      }
    }
  }
  return text;
}

std::string AspectEngine::FindKites(bool abbreviated, int& num) {
  std::string text;
  const int n = PlanetCount;
  for (int i = 1; i <= n; ++i) {
    for (int j = i + 1; j <= n; ++j) {
      double sij = 0.0;
      if (!Holds(i, j, kTrine, sij)) continue;
      for (int k = j + 1; k <= n; ++k) {
        double trines = sij;
        if (!Holds(i, k, kTrine, trines) || !Holds(j, k, kTrine, trines)) continue;
        for (int q = 1; q <= n; ++q) {
          if (q == i || q == j || q == k) continue;
          const int apex[3][3] = {{i, j, k}, {j, k, i}, {k, i, j}};
          for (const auto& a : apex) {
            const int v = a[0];
            const int b1 = a[1];
            const int b2 = a[2];
            double sum = trines;
            if (!Holds(q, b1, kSextile, sum) || !Holds(q, v, kOpposition, sum) ||
                !Holds(q, b2, kSextile, sum)) {
              continue;
            }
            VEMO_REPORT_TO_RUN("Kite", 4, v, b1, b2, q);
            ++num;
            text += PatternLine(kKite, abbreviated, {v, b1, b2, q}, sum / 6.0);
          }
        }
      }
    }
  }
  return text;
}

std::string AspectEngine::FindTSquares(bool abbreviated, int& num) {
  std::string text;
  const int n = PlanetCount;
  for (int i = 1; i <= n; ++i) {
    for (int j = i + 1; j <= n; ++j) {
      double sij = 0.0;
      if (!Holds(i, j, kOpposition, sij)) continue;
      for (int k = 1; k <= n; ++k) {
        double sum = sij;
        if (!Holds(i, k, kSquare, sum) || !Holds(j, k, kSquare, sum)) continue;
        VEMO_REPORT_TO_RUN("T-square", 3, i, k, j);
        ++num;
        text += PatternLine(kTSquare, abbreviated, {i, k, j}, sum / 3.0);
      }
    }
  }
  return text;
}

std::string AspectEngine::FindYods(bool abbreviated, int& num) {
  std::string text;
  const int n = PlanetCount;
  for (int i = 1; i <= n; ++i) {
    for (int j = i + 1; j <= n; ++j) {
      double sij = 0.0;
      if (!Holds(i, j, kSextile, sij)) continue;
      for (int k = 1; k <= n; ++k) {
        double sum = sij;
        if (!Holds(i, k, kQuincunx, sum) || !Holds(j, k, kQuincunx, sum)) continue;
        VEMO_REPORT_TO_RUN("Yod", 3, i, k, j);
        ++num;
        text += PatternLine(kYod, abbreviated, {i, k, j}, sum / 3.0);
      }
    }
  }
  return text;
}

std::string AspectEngine::FindYodKites(bool abbreviated, int& num) {
  std::string text;
  const int n = PlanetCount;
  for (int i = 1; i <= n; ++i) {
    for (int j = i + 1; j <= n; ++j) {
      double sij = 0.0;
      if (!Holds(i, j, kSextile, sij)) continue;
      for (int k = 1; k <= n; ++k) {
        double yod = sij;
        if (!Holds(i, k, kQuincunx, yod) || !Holds(j, k, kQuincunx, yod)) continue;
        for (int q = 1; q <= n; ++q) {
          if (q == i || q == j || q == k) continue;
          double sum = yod;
          if (!Holds(q, k, kOpposition, sum) || !Holds(q, j, kSemisextile, sum) ||
              !Holds(q, i, kSemisextile, sum)) {
            continue;
          }
          VEMO_REPORT_TO_RUN("Yod-kite", 4, i, k, j, q);
          ++num;
          text += PatternLine(kYodKite, abbreviated, {i, k, j, q}, sum / 6.0);
        }
      }
    }
  }
  return text;
}

std::string AspectEngine::FindGrandCrosses(bool abbreviated, int& num) {
  std::string text;
  const int n = PlanetCount;
  for (int a = 1; a <= n; ++a) {
    for (int b = a + 1; b <= n; ++b) {
      double sab = 0.0;
      if (!Holds(a, b, kSquare, sab)) continue;
      for (int c = b + 1; c <= n; ++c) {
        double sac = sab;
        if (!Holds(a, c, kSquare, sac)) continue;
        for (int d = a + 1; d <= n; ++d) {
          double sum = sac;
          if (!Holds(a, d, kOpposition, sum) || !Holds(b, c, kOpposition, sum) ||
              !Holds(b, d, kSquare, sum) || !Holds(d, c, kSquare, sum)) {
            continue;
          }
          VEMO_REPORT_TO_RUN("Grand cross", 4, a, b, d, c);
          ++num;
          text += PatternLine(kGrandCross, abbreviated, {a, b, d, c}, sum / 6.0);
        }
      }
    }
  }
  return text;
}

std::string AspectEngine::FindRectangles(bool abbreviated, int& num) {
  std::string text;
  const int n = PlanetCount;
  for (int a = 1; a <= n; ++a) {
    for (int b = a + 1; b <= n; ++b) {
      double sab = 0.0;
      if (!Holds(a, b, kOpposition, sab)) continue;
      for (int c = 1; c <= n; ++c) {
        double sbc = sab;
        if (!Holds(b, c, kSextile, sbc)) continue;
        for (int d = a + 1; d <= n; ++d) {
          double sum = sbc;
          if (!Holds(c, d, kOpposition, sum) || !Holds(d, a, kSextile, sum) ||
              !Holds(b, d, kTrine, sum) || !Holds(a, c, kTrine, sum)) {
            continue;
          }
          VEMO_REPORT_TO_RUN("Rectangle", 4, a, b, c, d);
          ++num;
          text += PatternLine(kRectangle, abbreviated, {a, b, c, d}, sum / 6.0);
        }
      }
    }
  }
  return text;
}

std::string AspectEngine::FindTrapeziums(bool abbreviated, int& num) {
  std::string text;
  const int n = PlanetCount;
  for (int a = 1; a <= n; ++a) {
    for (int b = a + 1; b <= n; ++b) {
      double sab = 0.0;
      if (!Holds(a, b, kOpposition, sab)) continue;
      for (int c = 1; c <= n; ++c) {
        if (c == a || c == b) continue;
        double sac = sab;
        if (!Holds(a, c, kTrine, sac)) continue;
        for (int d = 1; d <= n; ++d) {
          if (d == a || d == b || d == c) continue;
          double sum = sac;
          if (!Holds(a, d, kSextile, sum) || !Holds(c, d, kSextile, sum) ||
              !Holds(c, b, kSextile, sum) || !Holds(b, d, kTrine, sum)) {
            continue;
          }
          VEMO_REPORT_TO_RUN("Trapezium", 4, a, b, c, d);
          ++num;
          text += PatternLine(kTrapezium, abbreviated, {a, b, c, d}, sum / 6.0);
        }
      }
    }
  }
  return text;
}

std::string AspectEngine::FindStelliums(int size, bool abbreviated, int& num) {
  std::string text;
  if (size < 3 || size > 6) return text;
  const int index = kStellium3 - (size - 3);  // 3 -> 11, ..., 6 -> 8
  const double pairs = size * (size - 1) / 2.0;
  const std::string name = std::to_string(size) + "-stellium";
  const int n = PlanetCount;
  std::vector<int> chosen;
  std::vector<double> sums;  // deviation sum after each chosen planet
  bool stop = false;

  // Depth-first over increasing planet numbers; every new planet must be
  // conjunct with each planet chosen before it.
  auto extend = [&](auto&& self, int from) -> void {
    for (int p = from; p <= n && !stop; ++p) {
      double sum = sums.empty() ? 0.0 : sums.back();
      bool all = true;
      for (int q : chosen) {
        if (!Holds(q, p, kConjunction, sum)) {
          all = false;
          break;
        }
      }
      if (!all) continue;
      chosen.push_back(p);
      sums.push_back(sum);
      if (static_cast<int>(chosen.size()) == size) {
        bool counted = true;
        if (size == 3 && Run.InProgress) {
          // While a run seeks planets, a triple without every sought planet
          // ends the 3-stellium search at once.
          for (int sought : Run.SoughtPlanets) {
            if (sought > 0 && std::find(chosen.begin(), chosen.end(), sought) == chosen.end()) {
              stop = true;
              counted = false;
              break;
            }
          }
        }
        if (counted) {
          int pl[6] = {0, 0, 0, 0, 0, 0};
          for (size_t t = 0; t < chosen.size(); ++t) pl[t] = chosen[t];
          VEMO_REPORT_TO_RUN(name, size, pl[0], pl[1], pl[2], pl[3], pl[4], pl[5]);
          ++num;
          text += PatternLine(index, abbreviated, chosen, sum / pairs);
        }
      } else {
        self(self, p + 1);
      }
      chosen.pop_back();
      sums.pop_back();
    }
  };
  extend(extend, 1);
  return text;
}

#undef VEMO_REPORT_TO_RUN

std::string AspectEngine::FindAllPatterns() {
  FillPairTable();
  std::string out;
  auto add = [&](int index, const std::string& text, int count) {
    PatternCount[static_cast<size_t>(index)] = count;
    if (!text.empty()) out += text + kCrLf;
  };
  int n = 0;
  std::string t = FindGrandTrines(false, n);
  add(kGrandTrine, t, n);
  n = 0; t = FindKites(false, n); add(kKite, t, n);
  n = 0; t = FindRectangles(false, n); add(kRectangle, t, n);
  n = 0; t = FindTSquares(false, n); add(kTSquare, t, n);
  n = 0; t = FindGrandCrosses(false, n); add(kGrandCross, t, n);
  n = 0; t = FindYods(false, n); add(kYod, t, n);
  n = 0; t = FindYodKites(false, n); add(kYodKite, t, n);
  n = 0; t = FindTrapeziums(false, n); add(kTrapezium, t, n);
  // Only the largest stellium present is listed; the smaller levels count 0.
  for (int index : {kStellium6, kStellium5, kStellium4, kStellium3}) {
    PatternCount[static_cast<size_t>(index)] = 0;
  }
  for (int size = 6; size >= 3; --size) {
    n = 0;
    t = FindStelliums(size, false, n);
    const int index = kStellium3 - (size - 3);
    add(index, t, n);
    if (n > 0) break;
  }
  n = 0; t = FindGrandSextiles(false, n); add(kGrandSextile, t, n);
  n = 0;
  t.clear();
  CheckForMidpoint(false, n, t);
  add(kMidpoint, t, n);
  pairTableReady_ = false;
  return out;
}

}  // namespace vemo
