// The year tag of a WMA file, read from its header, so the MP3 gets it as its
// date (the stock encoder passes the tag on only under its own key name).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace companions {

// Bytes of the file's header object that are enough to find the tag: its
// size as the header announces it (the first 24 bytes), capped; 0 when the
// bytes are not a WMA header.
size_t AsfHeaderSize(const uint8_t* data, size_t size);

// The four-digit year of the "WM/Year" entry of the header's extended
// content description (text or number); empty when there is none, it is not
// a year, or the header is damaged. Reads only within `size` bytes.
std::wstring AsfYear(const uint8_t* data, size_t size);

}  // namespace companions
