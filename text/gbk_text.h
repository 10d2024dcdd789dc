#pragma once
// The text rules every part of the program relies on, on GBK byte strings.
// Positions are 1-based byte positions. Every search steps over double-byte
// characters: a byte of 0x80 or more is taken together with the byte after
// it, so a match never starts on a trail byte (a trail byte 0x5C is never a
// backslash), and a lone lead byte at the very end never reads past the text.
#include <string>
#include <string_view>
#include <vector>

namespace taotu::text {

// 1-based position of the first occurrence of `what` at or after `from`, or -1.
// An empty `what` is found at `from` in any non-empty text.
int Find(std::string_view text, std::string_view what, int from = 1);
bool Contains(std::string_view text, std::string_view what);

// Pieces between separators; an empty piece between two separators in a row
// is kept, an empty piece after the last separator is dropped, an empty text
// gives no piece, a text without the separator gives itself.
std::vector<std::string> Split(std::string_view text, std::string_view separator);

// Every occurrence, left to right, resuming after each replacement.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);
std::string DeleteAll(std::string_view text, std::string_view what);

// The text after the first `start` up to the next `end` (or the end of the
// text); empty when `start` does not occur.
std::string Between(std::string_view text, std::string_view start, std::string_view end);

// Removes ASCII blanks and the double-byte blank (A1 A1) at both ends.
std::string TrimBlanks(std::string_view text);

// The leading decimal number (leading blanks skipped, optional sign, optional
// fraction); 0 when the text does not begin with one.
double ToNumber(std::string_view text);
// ToNumber with the fractional part cut off.
long long ToInteger(std::string_view text);
// Plain decimal, no leading zeros, no separators.
std::string Decimal(long long number);

// The first / last n bytes (the whole text when it is shorter).
std::string_view Left(std::string_view text, std::size_t n);
std::string_view Right(std::string_view text, std::size_t n);
bool EndsWith(std::string_view text, std::string_view ending);
// EndsWith where `ending` must start on a character boundary: "\xD5\x5C"
// does not end with a backslash.
bool EndsWithWhole(std::string_view text, std::string_view ending);

// Text up to its first zero byte, as a fetched page or read file is taken.
std::string_view UpToZero(std::string_view bytes);

}  // namespace taotu::text
