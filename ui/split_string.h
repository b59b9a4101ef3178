#pragma once
// Cuts the movie's comma-separated arguments into fields.
#include <string>
#include <vector>

// Appends to `out` the pieces of `text` between occurrences of `delimiter`. Empty pieces
// before and between delimiters are kept; a delimiter at the end gives no trailing empty
// piece, and an empty text gives one empty piece.
void SplitString(const char* text, const char* delimiter, std::vector<std::string>& out);
