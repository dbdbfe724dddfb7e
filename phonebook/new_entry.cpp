#include "phonebook/new_entry.h"

#include <raserror.h>

#include "dialup/record_text.h"
#include "dialup/system_functions.h"
#include "phonebook/entry_listing.h"
#include "ui/gui.h"

namespace {

namespace n = ui::new_connection_window;
namespace m = ui::main_window;

struct NameRefusal {
    DWORD code;
    const char* reason;
};

constexpr NameRefusal kNameRefusals[] = {
    {ERROR_ALREADY_EXISTS, "此拨号名称已存在"},
    {ERROR_CANNOT_FIND_PHONEBOOK_ENTRY, "此电话号码簿不存在"},
    {ERROR_INVALID_NAME, "此名称格式错误"},
};
constexpr const char* kOtherRefusal = "无效的名称";

// RASEO_ options: default gateway, modem lights, software compression, secure local files,
// PAP, SPAP, preview of user and password, dialing progress, CHAP, MS-CHAP, MS-CHAP v2.
constexpr DWORD kEntryOptions = 0x3D0D0310;
// RASEO2_ options: secure file and print, secure client, no multilink, no RAS credentials,
// internet, no NetBIOS over IP, reconnect when dropped.
constexpr DWORD kEntryOptions2 = 0x16F;
constexpr DWORD kChina = 86;
constexpr DWORD RASNP_Ip = 0x4;
constexpr DWORD RASFP_Ppp = 0x1;
constexpr DWORD RASEDM_DialAll = 1;
constexpr DWORD RASET_Broadband = 5;
constexpr DWORD ET_Optional = 3;

RASENTRYA PppoeEntryRecord() {
    RASENTRYA entry = {};
    entry.dwSize = sizeof entry;
    entry.dwfOptions = kEntryOptions;
    entry.dwCountryID = kChina;
    entry.dwCountryCode = kChina;
    entry.dwfNetProtocols = RASNP_Ip;
    entry.dwFramingProtocol = RASFP_Ppp;
    CopyCut(entry.szDeviceType, "PPPoE");
    CopyCut(entry.szDeviceName, "WAN Miniport (PPPOE)");
    entry.dwDialMode = RASEDM_DialAll;
    entry.dwDialExtraPercent = 75;
    entry.dwDialExtraSampleSeconds = 120;
    entry.dwHangUpExtraPercent = 10;
    entry.dwHangUpExtraSampleSeconds = 120;
    entry.dwType = RASET_Broadband;
    entry.dwEncryptionType = ET_Optional;
    entry.dwfOptions2 = kEntryOptions2;
    entry.dwRedialCount = 3;
    entry.dwRedialPause = 60;
    return entry;
}

void StoreEntryCredentials(const std::string& name, std::string_view userName, std::string_view password) {
    RASCREDENTIALSA credentials = {};
    credentials.dwSize = sizeof credentials;
    credentials.dwMask = RASCM_UserName | RASCM_Password;
    CopyCut(credentials.szUserName, userName);
    CopyCut(credentials.szPassword, password);
    sys::RasSetCredentialsA(nullptr, name.c_str(), &credentials, FALSE);
    SecureZeroMemory(&credentials, sizeof credentials);
}

// The first check the inputs fail, or null.
const char* MissingInput(const std::string& name, const std::string& userName, const std::string& password) {
    if (name.empty())
        return "请输入宽带名称";
    if (userName.empty())
        return "请输入宽带账号";
    if (password.empty())
        return "请输入宽带密码";
    return nullptr;
}

// Why the entry was not created from the inputs; empty when it was.
std::string CreateFromInputs(const std::string& name, const std::string& userName, const std::string& password) {
    if (const char* missing = MissingInput(name, userName, password))
        return missing;
    if (const std::string reason = ValidateEntryName(name); !reason.empty())
        return "此宽带名称不可用：" + reason;
    return CreatePppoeEntry(name, userName, password) ? "" : "新建宽带连接失败";
}

}  // namespace

std::string ValidateEntryName(std::string_view name) {
    const std::string text(name);
    const DWORD code = sys::RasValidateEntryNameA(nullptr, text.c_str());
    if (code == 0)
        return {};
    for (const NameRefusal& refusal : kNameRefusals) {
        if (refusal.code == code)
            return refusal.reason;
    }
    return kOtherRefusal;
}

bool CreatePppoeEntry(std::string_view name, std::string_view userName, std::string_view password) {
    const std::string entryName(name);
    RASENTRYA entry = PppoeEntryRecord();
    if (sys::RasSetEntryPropertiesA(nullptr, entryName.c_str(), &entry, sizeof entry, nullptr, 0) != 0)
        return false;
    StoreEntryCredentials(entryName, userName, password);
    return true;
}

void OnCreateEntry() {
    const std::string name = gui::GetText(n::编辑框3);
    const std::string userName = gui::GetText(n::编辑框1);
    const std::string password = gui::GetText(n::编辑框2);
    const std::string refusal = CreateFromInputs(name, userName, password);
    gui::ShowMessage(ui::WindowKind::NewConnection, refusal.empty() ? "新建宽带连接成功" : refusal);
    if (!refusal.empty())
        return;
    gui::SelectItem(m::组合框1, gui::AddItem(m::组合框1, name));
    OnConnectionSelected();
    gui::Close(ui::WindowKind::NewConnection);
}
