#include "tools/fingerprint/PrintComparison.h"

#include <cmath>
#include <cstdio>
#include <limits>

#include "tools/fingerprint/PrintFormat.h"

namespace {

constexpr std::uint64_t kUnbounded = std::numeric_limits<std::uint64_t>::max();

// Position of a value on the line of all values of its width, ordered as the
// numbers are, so that neighbours differ by one; -0 sits just below +0, so
// that a sign of zero counts as a difference.
std::int64_t OrderedPosition(const TPrintValue& value) {
  const int signBit = value.Bytes * 8 - 1;
  const std::uint64_t magnitude = value.Bits & ((std::uint64_t{1} << signBit) - 1);
  const auto position = static_cast<std::int64_t>(magnitude);
  return (value.Bits >> signBit) != 0 ? -position - 1 : position;
}

// Distance in units in the last place; a NaN against a number is unbounded,
// and any NaN matches any NaN (their payloads depend on operand order).
std::uint64_t UlpDistance(const TPrintValue& a, const TPrintValue& b) {
  const bool aNan = std::isnan(a.AsDouble());
  const bool bNan = std::isnan(b.AsDouble());
  if (aNan || bNan) return aNan && bNan ? 0 : kUnbounded;
  const std::int64_t pa = OrderedPosition(a);
  const std::int64_t pb = OrderedPosition(b);
  return pa > pb ? static_cast<std::uint64_t>(pa - pb) : static_cast<std::uint64_t>(pb - pa);
}

void CompareValue(TGroupComparison& group, const std::string& where, const TPrintValue& a,
                  const TPrintValue& b) {
  ++group.Values;
  const std::uint64_t ulps = a.Bytes == b.Bytes ? UlpDistance(a, b) : kUnbounded;
  if (ulps == 0) return;
  ++group.Differing;
  const double absolute = std::fabs(a.AsDouble() - b.AsDouble());
  if (ulps > group.MaxUlps) {
    group.MaxUlps = ulps;
    group.Worst = where;
  }
  if (!(absolute <= group.MaxAbsolute)) group.MaxAbsolute = absolute;
  // An absolute bound of 0 is no bound: -0 against +0 lies 0 apart.
  const bool withinAbsolute = group.Bound.Absolute > 0.0 && absolute <= group.Bound.Absolute;
  if (ulps > group.Bound.Ulps && !withinAbsolute) ++group.BeyondBound;
}

}  // namespace

bool TPrintComparison::WithinBounds() const {
  if (!Mismatch.empty() || Groups.empty()) return false;
  for (const auto& [name, group] : Groups)
    if (group.BeyondBound != 0) return false;
  return true;
}

TPrintComparison ComparePrints(std::istream& reference, std::istream& other,
                               const std::map<std::string, TPrintBound>& bounds) {
  TPrintComparison comparison;
  std::string referenceText;
  std::string otherText;
  for (std::size_t number = 1;; ++number) {
    const bool haveReference = static_cast<bool>(std::getline(reference, referenceText));
    const bool haveOther = static_cast<bool>(std::getline(other, otherText));
    if (!haveReference && !haveOther) break;
    const std::string at = "line " + std::to_string(number);
    if (haveReference != haveOther) {
      comparison.Mismatch = at + ": one print ends before the other";
      break;
    }
    TParsedLine a;
    TParsedLine b;
    if (!ParsePrintLine(referenceText, a) || !ParsePrintLine(otherText, b)) {
      comparison.Mismatch = at + ": not a print line";
      break;
    }
    if (a.Name != b.Name || a.Values.size() != b.Values.size()) {
      comparison.Mismatch = at + ": " + a.Name + " against " + b.Name;
      break;
    }
    const std::string groupName = PrintGroup(a.Name);
    auto found = comparison.Groups.find(groupName);
    if (found == comparison.Groups.end()) {
      found = comparison.Groups.emplace(groupName, TGroupComparison{}).first;
      const auto bound = bounds.find(groupName);
      if (bound != bounds.end()) found->second.Bound = bound->second;
    }
    for (std::size_t i = 0; i < a.Values.size(); ++i)
      CompareValue(found->second, a.Name + " value " + std::to_string(i), a.Values[i], b.Values[i]);
  }
  if (comparison.Mismatch.empty() && comparison.Groups.empty())
    comparison.Mismatch = "the prints are empty";
  return comparison;
}

void WriteComparison(std::ostream& out, const TPrintComparison& comparison) {
  char text[256];
  for (const auto& [name, group] : comparison.Groups) {
    if (group.Differing == 0) {
      std::snprintf(text, sizeof text, "%-13s %7zu values, identical", name.c_str(), group.Values);
    } else {
      const std::string verdict =
          group.BeyondBound == 0 ? "within" : std::to_string(group.BeyondBound) + " beyond";
      std::snprintf(text, sizeof text,
                    "%-13s %7zu values, %zu differ: at most %llu ULP (%s), %.3g absolute; "
                    "bound %llu ULP or %.3g: %s",
                    name.c_str(), group.Values, group.Differing,
                    static_cast<unsigned long long>(group.MaxUlps), group.Worst.c_str(),
                    group.MaxAbsolute, static_cast<unsigned long long>(group.Bound.Ulps),
                    group.Bound.Absolute, verdict.c_str());
    }
    out << text << '\n';
  }
  if (!comparison.Mismatch.empty())
    out << "prints differ in shape: " << comparison.Mismatch << '\n';
}
