// The phonebook functions. The simulator knows one phonebook, the default one; any other path
// names a phonebook that cannot be opened.
#include <raserror.h>

#include <cstddef>
#include <cstring>
#include <vector>

#include "rasapi32/rasapi32.h"
#include "rasapi32/record_array.h"
#include "world/entry_name.h"
#include "world/shared_world.h"
#include "world/text.h"

namespace rassim {
namespace {

constexpr DWORD kEntryNameAllUsers = 0x1;  // REN_AllUsers

RASENTRYNAMEA NameRecord(const Entry& entry, DWORD size) {
    RASENTRYNAMEA record{};
    record.dwSize = size;
    CopyText(record.szEntryName, entry.name);
    record.dwFlags = kEntryNameAllUsers;
    CopyText(record.szPhonebookPath, kDefaultPhonebook);
    return record;
}

// RasSetEntryPropertiesA refuses a record without its device, framing and (from the version
// that has it) entry type.
bool HasRequiredMembers(const RASENTRYA& entry) {
    const bool hasType = entry.dwSize <= offsetof(RASENTRYA, dwType) || entry.dwType != 0;
    return entry.szDeviceType[0] != '\0' && entry.szDeviceName[0] != '\0' && entry.dwFramingProtocol != 0 && hasType;
}

}  // namespace
}  // namespace rassim

using namespace rassim;

extern "C" DWORD WINAPI RasEnumEntriesA(LPCSTR reserved, LPCSTR phonebook, RASENTRYNAMEA* names, DWORD* byteCount,
                                        DWORD* entryCount) {
    if (reserved || !byteCount || !entryCount)
        return ERROR_INVALID_PARAMETER;
    if (!IsDefaultPhonebook(phonebook))
        return ERROR_CANNOT_OPEN_PHONEBOOK;
    const DWORD recordSize = names ? names->dwSize : NewestSize(kRasEntryNameSizes);
    if (!IsPublishedSize(recordSize, kRasEntryNameSizes))
        return ERROR_INVALID_SIZE;
    std::vector<RASENTRYNAMEA> records;
    {
        WorldLock world;
        for (DWORD i = 0; i < world->entryCount; ++i)
            records.push_back(NameRecord(world->entries[i], recordSize));
    }
    return WriteRecordArray(records, recordSize, names, *byteCount, *entryCount);
}

extern "C" DWORD WINAPI RasValidateEntryNameA(LPCSTR phonebook, LPCSTR entryName) {
    if (!IsDefaultPhonebook(phonebook))
        return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
    if (!entryName || !IsValidEntryName(entryName))
        return ERROR_INVALID_NAME;
    WorldLock world;
    return FindEntry(*world, entryName) ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS;
}

extern "C" DWORD WINAPI RasSetEntryPropertiesA(LPCSTR phonebook, LPCSTR entryName, RASENTRYA* entry, DWORD entrySize,
                                               BYTE*, DWORD) {
    if (!entry)
        return ERROR_BUFFER_INVALID;
    if (!IsDefaultPhonebook(phonebook))
        return ERROR_CANNOT_OPEN_PHONEBOOK;
    if (!IsPublishedSize(entry->dwSize, kRasEntrySizes))
        return ERROR_INVALID_SIZE;
    if (entrySize < entry->dwSize)
        return ERROR_BUFFER_INVALID;
    if (!entryName || !IsValidEntryName(entryName))
        return ERROR_INVALID_NAME;
    if (!HasRequiredMembers(*entry))
        return ERROR_INVALID_PARAMETER;
    WorldLock world;
    Entry* stored = FindEntry(*world, entryName);
    if (!stored)
        stored = AddEntry(*world, entryName);
    if (!stored)
        return ERROR_CANNOT_WRITE_PHONEBOOK;
    std::memset(&stored->record, 0, sizeof(stored->record));
    std::memcpy(&stored->record, entry, entry->dwSize);
    stored->recordSize = entry->dwSize;
    return ERROR_SUCCESS;
}

extern "C" DWORD WINAPI RasGetEntryPropertiesA(LPCSTR phonebook, LPCSTR entryName, RASENTRYA* entry, DWORD* entrySize,
                                               BYTE*, DWORD* deviceInfoSize) {
    if (deviceInfoSize)
        *deviceInfoSize = 0;
    if (!IsDefaultPhonebook(phonebook))
        return ERROR_CANNOT_OPEN_PHONEBOOK;
    if (!entry) {
        if (!entrySize)
            return ERROR_INVALID_PARAMETER;
        *entrySize = NewestSize(kRasEntrySizes);
        return ERROR_BUFFER_TOO_SMALL;
    }
    if (!entrySize || !entryName)
        return ERROR_INVALID_PARAMETER;
    const DWORD size = entry->dwSize;
    if (!IsPublishedSize(size, kRasEntrySizes))
        return ERROR_INVALID_SIZE;
    if (*entrySize < size) {
        *entrySize = size;
        return ERROR_BUFFER_TOO_SMALL;
    }
    // An empty name asks for the defaults of a new entry.
    RasEntryNewest copy{};
    if (entryName[0] != '\0') {
        WorldLock world;
        const Entry* stored = FindEntry(*world, entryName);
        if (!stored)
            return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
        copy = stored->record;
        copy.base.guidId = stored->guid;  // read-only: the phonebook's own GUID of the entry
    }
    copy.base.dwSize = size;
    std::memcpy(entry, &copy, size);
    *entrySize = size;
    return ERROR_SUCCESS;
}

extern "C" DWORD WINAPI RasDeleteEntryA(LPCSTR phonebook, LPCSTR entryName) {
    if (!IsDefaultPhonebook(phonebook))
        return ERROR_CANNOT_OPEN_PHONEBOOK;
    if (!entryName)
        return ERROR_INVALID_PARAMETER;
    WorldLock world;
    Entry* entry = FindEntry(*world, entryName);
    if (!entry)
        return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
    RemoveEntry(*world, *entry);
    return ERROR_SUCCESS;
}
