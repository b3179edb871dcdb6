// Splits a text into tokens at any character of a delimiter set. Runs of delimiters never
// give empty tokens. Standard library only.
#pragma once

#include <string>

namespace util {
namespace parser {

class StringTokenizerImpl {
 public:
  StringTokenizerImpl(std::string text, std::string delimiters);
  virtual ~StringTokenizerImpl() = default;

  virtual bool hasMoreTokens() const;
  // The next token; empty (and an assertion) when there is none.
  virtual std::string nextToken();
  // Tokens left from the current position.
  virtual int countTokens() const;
  // The token `tokensAheadOfNextToken` places after the next one (0: the next one), without
  // moving; empty (and an assertion) when there are not that many.
  virtual std::string tokenAhead(int tokensAheadOfNextToken) const;

 private:
  // The token starting at `start` and the start of the one after it.
  std::string tokenAt(std::size_t start, std::size_t& following) const;

  std::string _text;
  std::string _delimiters;
  std::size_t _position;  // start of the next token, npos when there is none
};

}  // namespace parser
}  // namespace util
