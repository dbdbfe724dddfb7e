// The enumeration functions' common answer: an array of records at the stride of the version the
// caller asked for, or the byte count that array needs.
#pragma once
#include <raserror.h>
#include <windows.h>

#include <cstring>
#include <vector>

namespace rassim {

// Writes the first `recordSize` bytes of each record into `buffer`; answers
// ERROR_BUFFER_TOO_SMALL with the needed `byteCount` when there is no buffer or it is too small.
// `count` is the number of records either way: callers size their buffer from a first call.
template <typename Record>
DWORD WriteRecordArray(const std::vector<Record>& records, DWORD recordSize, void* buffer, DWORD& byteCount,
                       DWORD& count) {
    const DWORD needed = static_cast<DWORD>(records.size()) * recordSize;
    count = static_cast<DWORD>(records.size());
    if (!buffer || byteCount < needed) {
        byteCount = needed;
        return needed == 0 ? ERROR_SUCCESS : ERROR_BUFFER_TOO_SMALL;
    }
    auto* out = static_cast<BYTE*>(buffer);
    for (const Record& record : records) {
        std::memcpy(out, &record, recordSize);
        out += recordSize;
    }
    byteCount = needed;
    return ERROR_SUCCESS;
}

}  // namespace rassim
