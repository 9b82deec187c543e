// The key classes the word, synonym and value fields' filters share, by
// Windows-1252 code.
#pragma once

namespace keys {

// A small letter with a capital one code below by 32: a-z, å, æ, ø.
inline bool isLower(int k) { return (k >= 97 && k <= 122) || k == 229 || k == 230 || k == 248; }
// Kept as typed: digits, "-" and ".".
inline bool isPlain(int k) { return (k >= '0' && k <= '9') || k == '-' || k == '.'; }

}  // namespace keys
