#include "startup/util/parser/StringTokenizerImpl.h"

#include <utility>

#include "startup/platform/errorresources/Assertion.h"

namespace util {
namespace parser {

StringTokenizerImpl::StringTokenizerImpl(std::string text, std::string delimiters)
    : _text(std::move(text)), _delimiters(std::move(delimiters)) {
  _position = _text.find_first_not_of(_delimiters);
}

bool StringTokenizerImpl::hasMoreTokens() const { return _position != std::string::npos; }

std::string StringTokenizerImpl::tokenAt(std::size_t start, std::size_t& following) const {
  const std::size_t end = _text.find_first_of(_delimiters, start);
  if (end == std::string::npos) {
    following = std::string::npos;
    return _text.substr(start);
  }
  following = _text.find_first_not_of(_delimiters, end);
  return _text.substr(start, end - start);
}

std::string StringTokenizerImpl::nextToken() {
  STELMAR_ASSERT(hasMoreTokens());
  if (!hasMoreTokens()) return std::string();
  std::size_t following = std::string::npos;
  std::string token = tokenAt(_position, following);
  _position = following;
  return token;
}

int StringTokenizerImpl::countTokens() const {
  int count = 0;
  for (std::size_t at = _position; at != std::string::npos;) {
    tokenAt(at, at);
    ++count;
  }
  return count;
}

std::string StringTokenizerImpl::tokenAhead(int tokensAheadOfNextToken) const {
  const int available = countTokens();
  STELMAR_ASSERT(countTokens() >= tokensAheadOfNextToken);
  // With exactly as many tokens left as asked to skip there is nothing to return either.
  if (tokensAheadOfNextToken < 0 || tokensAheadOfNextToken >= available) return std::string();
  std::size_t at = _position;
  std::string token;
  for (int skipped = 0; skipped <= tokensAheadOfNextToken; ++skipped) token = tokenAt(at, at);
  return token;
}

}  // namespace parser
}  // namespace util
