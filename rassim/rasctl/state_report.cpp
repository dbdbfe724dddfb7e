#include "rasctl/state_report.h"

namespace rasctl {
namespace {

using namespace rassim;

const char* LinkName(Link link) {
    switch (link) {
        case Link::Dialing:
            return "dialing";
        case Link::Connected:
            return "connected";
        case Link::Failed:
            return "failed";
        case Link::Dropped:
            return "dropped";
        case Link::Closing:
            return "closing";
    }
    return "?";
}

void PrintAccounts(const World& world, std::FILE* out) {
    if (world.accountCount == 0)
        std::fprintf(out, "account any\n");
    for (DWORD i = 0; i < world.accountCount; ++i) {
        const Account& account = world.accounts[i];
        std::fprintf(out, "account user=\"%s\" password=\"%s\"\n", account.userName, account.password);
    }
}

void PrintEntry(const Entry& entry, std::FILE* out) {
    const Credentials& credentials = entry.credentials;
    std::fprintf(out, "entry name=\"%s\" guid=%s size=%lu device=\"%s\"", entry.name, GuidText(entry.guid).c_str(),
                 entry.recordSize, entry.record.base.szDeviceType);
    if (credentials.mask & RASCM_UserName)
        std::fprintf(out, " user=\"%s\"", credentials.userName);
    if (credentials.mask & RASCM_Password)
        std::fprintf(out, " password=\"%s\"", credentials.password);
    if (credentials.mask & RASCM_Domain)
        std::fprintf(out, " domain=\"%s\"", credentials.domain);
    std::fprintf(out, "\n");
}

void PrintConnection(const Connection& c, std::FILE* out) {
    std::fprintf(out,
                 "connection handle=0x%lX entry=\"%s\" guid=%s link=%s state=%lu error=%lu address=%s "
                 "phonebook=\"%s\" refs=%lu\n",
                 c.handle, c.entryName, GuidText(c.guid).c_str(), LinkName(c.link), c.state, c.error,
                 c.address[0] ? c.address : "-", c.phonebook, c.references);
}

void PrintFaults(const World& world, std::FILE* out) {
    const DialFaults& dial = world.dial;
    if (dial.failCode)
        std::fprintf(out, "dial-fail code=%lu state=%lu\n", dial.failCode, dial.failState);
    if (dial.refuseCode) {
        std::fprintf(out, "dial-refuse code=%lu handle=%s\n", dial.refuseCode, dial.refuseWritesHandle ? "yes" : "no");
    }
    if (dial.durationMs)
        std::fprintf(out, "dial-time ms=%lu\n", dial.durationMs);
    if (dial.address[0])
        std::fprintf(out, "dial-address address=%s\n", dial.address);
    if (world.hangUp.remaining) {
        std::fprintf(out, "hangup-fail count=%lu code=%lu\n", world.hangUp.remaining, world.hangUp.code);
    }
    if (world.hangUpDelayMs != kDefaultHangUpDelayMs)
        std::fprintf(out, "hangup-delay ms=%lu\n", world.hangUpDelayMs);
    if (world.enumeration.remaining) {
        std::fprintf(out, "enum-fail count=%lu code=%lu\n", world.enumeration.remaining, world.enumeration.code);
    }
    if (world.notification.remaining) {
        std::fprintf(out, "notify-fail count=%lu code=%lu\n", world.notification.remaining, world.notification.code);
    }
    if (world.adaptersNamedOtherwise)
        std::fprintf(out, "adapter-names other\n");
}

}  // namespace

void PrintState(const World& world, std::FILE* out) {
    PrintAccounts(world, out);
    for (DWORD i = 0; i < world.entryCount; ++i)
        PrintEntry(world.entries[i], out);
    for (DWORD i = 0; i < world.connectionCount; ++i)
        PrintConnection(world.connections[i], out);
    PrintFaults(world, out);
}

}  // namespace rasctl
