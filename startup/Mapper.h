// A one-to-one map between two key types, kept in step both ways (tree items and startup
// types or entries of the dialogs). Each side is ordered by its own comparator: a
// StartupItem, which has no order of its own, maps with StartupItemOrder.
#pragma once

#include <functional>
#include <map>

#include "startup/platform/errorresources/Assertion.h"

namespace products::stelmar {

template <typename First, typename Second, typename FirstLess = std::less<First>,
          typename SecondLess = std::less<Second>>
class Mapper {
 public:
  // `first` must not be present yet; an earlier pair is kept.
  void insert(const First& first, const Second& second) {
    STELMAR_ASSERT(!exists(first));
    if (exists(first)) return;
    // One to one: a second value already paired stays with its first.
    STELMAR_ASSERT(!secondExists(second));
    if (secondExists(second)) return;
    _firstToSecond.emplace(first, second);
    _secondToFirst.emplace(second, first);
  }
  // A value-initialised Second, after a failed check, when `first` is not present (only
  // for a Second that can be made so; use findSecond for the others).
  Second getSecond(const First& first) const {
    STELMAR_ASSERT(exists(first));
    const auto i = _firstToSecond.find(first);
    return i == _firstToSecond.end() ? Second() : i->second;
  }
  First getFirst(const Second& second) const {
    STELMAR_ASSERT(secondExists(second));
    const auto i = _secondToFirst.find(second);
    return i == _secondToFirst.end() ? First() : i->second;
  }
  // The second value of `first`, to read or change in place, or null when it is not
  // present. A change must leave the value's place in SecondLess's order as it was (an
  // entry's state, not its type or name).
  Second* findSecond(const First& first) {
    const auto i = _firstToSecond.find(first);
    return i == _firstToSecond.end() ? nullptr : &i->second;
  }
  const Second* findSecond(const First& first) const {
    const auto i = _firstToSecond.find(first);
    return i == _firstToSecond.end() ? nullptr : &i->second;
  }
  // Removes the pair of `first`; nothing when it is not present.
  void erase(const First& first) {
    const auto i = _firstToSecond.find(first);
    if (i == _firstToSecond.end()) return;
    _secondToFirst.erase(i->second);
    _firstToSecond.erase(i);
  }
  bool exists(const First& first) const { return _firstToSecond.count(first) != 0; }
  bool secondExists(const Second& second) const { return _secondToFirst.count(second) != 0; }
  std::size_t size() const { return _firstToSecond.size(); }
  void clear() {
    _firstToSecond.clear();
    _secondToFirst.clear();
  }

 private:
  std::map<First, Second, FirstLess> _firstToSecond;
  std::map<Second, First, SecondLess> _secondToFirst;
};

}  // namespace products::stelmar
