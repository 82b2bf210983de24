#include "framework/suggest.h"

#include <algorithm>
#include <numeric>

namespace Cordra {
namespace Frame {

size_t EditDistance(const std::string& a, const std::string& b) {
  const size_t n = a.size();
  const size_t m = b.size();
  // Three rows are enough: the swap looks two rows back.
  std::vector<size_t> back2(m + 1), back1(m + 1), row(m + 1);
  std::iota(back1.begin(), back1.end(), size_t{0});
  for (size_t i = 1; i <= n; ++i) {
    row[0] = i;
    for (size_t j = 1; j <= m; ++j) {
      const size_t cost = a[i - 1] == b[j - 1] ? 0 : 1;
      row[j] = std::min({back1[j] + 1, row[j - 1] + 1, back1[j - 1] + cost});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
        row[j] = std::min(row[j], back2[j - 2] + 1);
      }
    }
    back2.swap(back1);
    back1.swap(row);
  }
  return back1[m];
}

namespace {

// Whether every character of `word` is in `candidate`, in order ("umount"
// in "unmount", not in "mount").
bool HoldsInOrder(const std::string& candidate, const std::string& word) {
  size_t pos = 0;
  for (char c : candidate) {
    if (pos < word.size() && c == word[pos]) ++pos;
  }
  return pos == word.size();
}

}  // namespace

std::string NearestName(const std::string& word, const std::vector<std::string>& candidates) {
  const size_t limit = std::min<size_t>(3, std::max<size_t>(1, word.size() / 3));
  std::string best;
  size_t best_distance = limit + 1;
  bool best_holds = false;
  for (const auto& candidate : candidates) {
    const size_t distance = EditDistance(word, candidate);
    const bool holds = HoldsInOrder(candidate, word);
    if (distance > limit) continue;
    if (distance < best_distance || (distance == best_distance && holds && !best_holds)) {
      best = candidate;
      best_distance = distance;
      best_holds = holds;
    }
  }
  return best;
}

std::vector<std::string> SuggestedNames(const std::string& word,
                                        const std::vector<std::string>& candidates) {
  std::vector<std::string> names;
  const std::string nearest = NearestName(word, candidates);
  if (!nearest.empty()) names.push_back(nearest);
  if (word.size() < 3) return names;
  for (const auto& candidate : candidates) {
    if (candidate != nearest && candidate.find(word) != std::string::npos) {
      names.push_back(candidate);
    }
  }
  return names;
}

std::string DidYouMean(const std::vector<std::string>& names, const std::string& prefix) {
  std::string out;
  for (size_t i = 0; i < names.size(); ++i) {
    if (i > 0) out += i + 1 == names.size() ? " or " : ", ";
    out += "'" + prefix + names[i] + "'";
  }
  return out.empty() ? out : ": did you mean " + out + "?";
}

std::string UnknownName(const std::string& what, const std::string& name,
                        const std::vector<std::string>& candidates) {
  const std::string message = "unknown " + what + " '" + name + "'";
  const std::vector<std::string> near = SuggestedNames(name, candidates);
  if (!near.empty()) return message + DidYouMean(near, "");
  std::string all;
  for (const auto& candidate : candidates) all += (all.empty() ? "" : ", ") + candidate;
  return message + " (the store has: " + all + ")";
}

}  // namespace Frame
}  // namespace Cordra
