// Reversible scrambling of the account name and password kept in the credential file.
// This is obfuscation, not encryption: the tables are compiled in and there is no key.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace talvo {

inline constexpr int kScrambleTableCount = 22;
inline constexpr int kScrambleAlphabetSize = 89;
// Tables the encoder may pick: 0 to 19. 20 and 21 are only ever read.
inline constexpr int kEncoderTableCount = 20;

// Table 0 is the base alphabet; tables 1 to 21 are permutations of it. Position k of table 0
// pairs with position k of table n. Stored credentials depend on these exact strings.
const std::array<std::u16string_view, kScrambleTableCount>& ScrambleTables();

// Uniform numbers 0 <= r < 1 from a fixed start state. The sequence must be identical on every
// compiler and platform, so it is built from integer arithmetic only (SplitMix64, top 53 bits).
class ScrambleRandom {
 public:
  static constexpr std::uint64_t kStartState = 0x7A1B0C0FFEE20202ULL;
  explicit ScrambleRandom(std::uint64_t state = kStartState) : state_(state) {}
  double Next();

 private:
  std::uint64_t state_;
};

// Nearest whole number; exact halves go to the even neighbour (2.5 -> 2, 3.5 -> 4).
double RoundHalfEven(double value);

// Scrambles `text` with the process-wide generator: 8 noise digits and a table number drawn per
// call, so equal texts give different forms. Result length is text length + 10 (UTF-16 units).
std::u16string EncodeText(std::u16string_view text);
std::u16string EncodeText(std::u16string_view text, ScrambleRandom& random);

// Reverses EncodeText. Never fails: a malformed form gives a defined, possibly shorter, text.
std::u16string DecodeText(std::u16string_view scrambled);

}  // namespace talvo
