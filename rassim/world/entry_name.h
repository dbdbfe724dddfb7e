#pragma once

namespace rassim {

// RasValidateEntryNameA's format rules for an entry name in the ANSI code page: 1 to 256 bytes,
// none of | > < ? * \ / :, no leading period, and at least one letter or digit. A double-byte
// character counts as a letter, and its trail byte is never taken for one of the forbidden
// characters (in GBK it may well be 0x5C or 0x7C).
bool IsValidEntryName(const char* name);

}  // namespace rassim
