// "Did you mean" for mistyped option and command names.
#ifndef FRAMEWORK_SUGGEST_H_
#define FRAMEWORK_SUGGEST_H_

#include <string>
#include <vector>

namespace Cordra {
namespace Frame {

// Edit distance counting insertions, deletions, substitutions and swaps of
// two neighbouring characters as one step each.
size_t EditDistance(const std::string& a, const std::string& b);

// The candidate nearest to `word`, or "" when none is close enough to be a
// plausible typo (a third of the word's length, at least one, at most three
// steps). On a tie a candidate that holds every character of `word` in
// order wins ("unmount" for "umount", rather than "mount"), then the earlier.
std::string NearestName(const std::string& word, const std::vector<std::string>& candidates);

// What to suggest for `word`: the nearest candidate as above, then every
// other candidate that contains `word` (three characters at least: "label"
// for "volume-label"), in the candidates' order.
std::vector<std::string> SuggestedNames(const std::string& word,
                                        const std::vector<std::string>& candidates);

// ": did you mean 'A'?", ": did you mean 'A' or 'B'?", ": did you mean 'A',
// 'B' or 'C'?" with `prefix` before each name; "" for no names.
std::string DidYouMean(const std::vector<std::string>& names, const std::string& prefix);

// "unknown WHAT 'NAME'", then what to suggest for `name` among
// `candidates`, or when nothing is near, all of them: "unknown host 'x'
// (the store has: a, b)".
std::string UnknownName(const std::string& what, const std::string& name,
                        const std::vector<std::string>& candidates);

}  // namespace Frame
}  // namespace Cordra

#endif  // FRAMEWORK_SUGGEST_H_
