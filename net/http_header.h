#pragma once
// Reading a received HTTP response header, free of any platform header. The header is
// `length` bytes at `header`, as received, the closing CR LF CR LF included.

// True when the last four of the `length` bytes are CR LF CR LF: the header is complete.
bool EndsHeader(const char* header, int length);

// Copies the line at `pos` (its LF included) into `buffer`, at most `max` bytes, advances
// `pos` past what it copied and returns the number of bytes copied; the copy is not
// terminated. At the end of the header it sets `pos` to 0 and returns -1.
int NextHeaderLine(const char* header, int length, int& pos, char* buffer, int max);

// The status code: the three characters after "HTTP/1.x " read as atoi does.
int StatusCodeOf(const char* header, int length);

// Finds the field `name` as a whole field name at the start of a header line after the
// status line, without regard to case, and copies its value, without the white space
// after the colon and without its line end, zero-terminated into `buffer` (`size`
// bytes). Returns the value's length, or -1 when the field is missing, `name` is null or
// empty, or the value does not fit `buffer` (which then holds an empty text).
int FindHeaderField(const char* header, int length, const char* name, char* buffer, int size);
