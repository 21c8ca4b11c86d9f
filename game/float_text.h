// Numbers as text, the same on every standard library: the shortest text that reads back to the
// same float or double, and a double rounded to a whole number. The traces and the score label
// are compared byte for byte across builds, so these must never differ by a digit.
#pragma once

namespace sinkaway {

// Each writes at most 32 characters from `first` and returns one past the last; no terminator.
// The shortest text that reads back to `v`, in fixed or scientific notation, whichever is shorter
// (fixed on a tie): what std::to_chars(first, last, v) writes.
char* ShortestText(char* first, double v);
char* ShortestText(char* first, float v);
// `v` rounded to a whole number (ties to even, on its exact binary value), in fixed notation.
char* WholeText(char* first, double v);

// The same text made from printf and strtod alone, for a standard library without floating-point
// to_chars; the functions above use it only there.
char* ShortestTextPortable(char* first, double v);
char* ShortestTextPortable(char* first, float v);
char* WholeTextPortable(char* first, double v);

}  // namespace sinkaway
