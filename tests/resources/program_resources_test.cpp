// What Pordex.exe carries: the version resource that the single-instance guard reads, the
// manifest, and the generated pictures.
#include <windows.h>
#include <winver.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "core/owners.h"
#include "resources/resource_ids.h"
#include "tests/resources/file_bytes.h"

namespace {

class VersionResource : public testing::Test {
protected:
    VersionResource() {
        DWORD ignored = 0;
        block_.resize(GetFileVersionInfoSizeA(PORDEX_EXE, &ignored));
        loaded_ = !block_.empty() && GetFileVersionInfoA(PORDEX_EXE, 0, block_.size(), block_.data());
    }

    // The string `name` of the table that the first Translation pair names.
    std::string StringValue(const char* name) {
        std::string query = "\\StringFileInfo\\" + TranslationKey() + "\\" + name;
        char* text = nullptr;
        UINT length = 0;
        if (!VerQueryValueA(block_.data(), query.c_str(), reinterpret_cast<void**>(&text), &length)) return "<absent>";
        return std::string(text, length > 0 ? length - 1 : 0);
    }

    std::string TranslationKey() {
        WORD* pair = nullptr;
        UINT bytes = 0;
        if (!VerQueryValueA(block_.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&pair), &bytes) || bytes < 4) {
            return "<none>";
        }
        char key[9];
        wsprintfA(key, "%04X%04X", pair[0], pair[1]);
        return key;
    }

    std::vector<char> block_;
    bool loaded_ = false;
};

TEST_F(VersionResource, TranslationIsChinesePrcInCodePage936) {
    ASSERT_TRUE(loaded_);
    EXPECT_EQ(TranslationKey(), "080403A8");
}

TEST_F(VersionResource, FileDescriptionIdentifiesTheProgram) {
    ASSERT_TRUE(loaded_);
    EXPECT_EQ(StringValue("FileDescription"), "QelvoPordex");
}

TEST_F(VersionResource, ProductNameVersionsAndComments) {
    ASSERT_TRUE(loaded_);
    EXPECT_EQ(StringValue("ProductName"), "Pordex");
    EXPECT_EQ(StringValue("FileVersion"), "2.0.1.0");
    EXPECT_EQ(StringValue("ProductVersion"), "2.0.1.0");
    EXPECT_EQ(StringValue("Comments"), "监控宽带，自动重播");  // GBK here, as the A function returns it
    EXPECT_NE(StringValue("CompanyName"), "<absent>");
    EXPECT_NE(StringValue("LegalCopyright"), "<absent>");
}

TEST_F(VersionResource, ChineseTextIsStoredAsUtf16) {
    ASSERT_TRUE(loaded_);
    wchar_t* text = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block_.data(), L"\\StringFileInfo\\080403A8\\Comments", reinterpret_cast<void**>(&text), &length));
    EXPECT_EQ(std::wstring_view(text), L"监控宽带，自动重播");
}

TEST_F(VersionResource, FixedVersionsAreTwoZeroOneZeroForA32BitApplication) {
    ASSERT_TRUE(loaded_);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT bytes = 0;
    ASSERT_TRUE(VerQueryValueA(block_.data(), "\\", reinterpret_cast<void**>(&fixed), &bytes));
    ASSERT_EQ(bytes, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00020000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00020000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileOS, 4u);  // VOS__WINDOWS32
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
}

using UniqueModule = UniqueHandle<HMODULE, FreeLibrary>;

class ProgramResources : public testing::Test {
protected:
    std::string_view Resource(LPCSTR type, int id) {
        const HRSRC found = FindResourceA(program_.get(), MAKEINTRESOURCEA(id), type);
        const HGLOBAL loaded = found ? LoadResource(program_.get(), found) : nullptr;
        if (!loaded) return {};
        return {static_cast<const char*>(LockResource(loaded)), SizeofResource(program_.get(), found)};
    }

    UniqueModule program_{LoadLibraryExA(PORDEX_EXE, nullptr, LOAD_LIBRARY_AS_DATAFILE)};
};

TEST_F(ProgramResources, ManifestAsksForAdministratorAndCommonControls6) {
    ASSERT_TRUE(program_);
    const std::string_view manifest = Resource(RT_MANIFEST, 1);  // CREATEPROCESS_MANIFEST_RESOURCE_ID
    ASSERT_FALSE(manifest.empty());
    EXPECT_NE(manifest.find(R"(<requestedExecutionLevel level="requireAdministrator")"), std::string_view::npos);
    const auto controls = manifest.find(R"(name="Microsoft.Windows.Common-Controls")");
    ASSERT_NE(controls, std::string_view::npos);
    EXPECT_EQ(manifest.substr(controls).find(R"(version="6.0.0.0")"), manifest.substr(controls).find("version="));
    // DPI awareness, the processor, and Windows 7, 8, 8.1 and 10/11 as supported systems.
    for (const char* entry : {">true/pm</dpiAware>", ">PerMonitorV2, PerMonitor</dpiAwareness>",
                              sizeof(void*) == 8 ? R"(Architecture="amd64")" : R"(Architecture="x86")",
                              "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
                              "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"})
        EXPECT_NE(manifest.find(entry), std::string_view::npos) << entry;
}

TEST_F(ProgramResources, CarriesBothStatusIconsAndTheGeneratedLogo) {
    ASSERT_TRUE(program_);
    EXPECT_FALSE(Resource(RT_GROUP_ICON, IDI_ONLINE_ICON).empty());
    EXPECT_FALSE(Resource(RT_GROUP_ICON, IDI_OFFLINE_ICON).empty());
    const auto file = ReadFileBytes(ABOUT_LOGO_FILE);
    ASSERT_FALSE(file.empty());
    EXPECT_EQ(Resource(RT_RCDATA, IDR_ABOUT_LOGO), std::string_view(reinterpret_cast<const char*>(file.data()), file.size()));
}

}  // namespace
