// Text into caller-sized buffers: always NUL-terminated, never past the end.
#pragma once

#include <winui/windef.h>

// Writes `text` cut to size - 1 characters and NUL-terminated; returns the length written.
// Nothing is written when size is 0.
UINT CopyBoundedText(char* buffer, UINT size, const char* text);

// Formats like snprintf into the buffer, cut the same way, and returns the length of the text in it.
UINT FormatBoundedText(char* buffer, UINT size, const char* format, ...) __attribute__((format(printf, 3, 4)));
