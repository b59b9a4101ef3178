// What the built TVRL.exe is made of: a 32-bit GUI program that needs only the system's
// DLLs, carrying the launcher's dialogs, icon, configuration and movie.
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/dialog_template.h"
#include "support/host_path.h"

namespace {

const std::string kExe = HostPathToWindows(TVRL_EXE_PATH);
const std::string kResDir = HostPathToWindows(TVRL_RES_DIR);
const std::string kLoginMovie = HostPathToWindows(TVRL_LOGIN_MOVIE_PATH);

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

template <class T>
T At(const std::string& image, size_t offset)
{
    T value{};
    if (offset + sizeof(T) <= image.size())
        memcpy(&value, image.data() + offset, sizeof(T));
    return value;
}

class ExecutableImage : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_image = ReadFileBytes(kExe);
        ASSERT_GT(m_image.size(), 1024u) << kExe;
        ASSERT_EQ(At<WORD>(m_image, 0), IMAGE_DOS_SIGNATURE);
        m_nt = At<LONG>(m_image, offsetof(IMAGE_DOS_HEADER, e_lfanew));
        ASSERT_EQ(At<DWORD>(m_image, m_nt), IMAGE_NT_SIGNATURE);
        m_headers = At<IMAGE_NT_HEADERS32>(m_image, m_nt);
    }

    size_t RvaToOffset(DWORD rva) const
    {
        const size_t sections = m_nt + offsetof(IMAGE_NT_HEADERS32, OptionalHeader) + m_headers.FileHeader.SizeOfOptionalHeader;
        for (WORD i = 0; i < m_headers.FileHeader.NumberOfSections; ++i) {
            const auto section = At<IMAGE_SECTION_HEADER>(m_image, sections + i * sizeof(IMAGE_SECTION_HEADER));
            if (rva >= section.VirtualAddress && rva < section.VirtualAddress + section.Misc.VirtualSize)
                return rva - section.VirtualAddress + section.PointerToRawData;
        }
        return m_image.size();
    }

    std::string m_image;
    size_t m_nt = 0;
    IMAGE_NT_HEADERS32 m_headers{};
};

TEST_F(ExecutableImage, IsA32BitGuiProgram)
{
    EXPECT_EQ(m_headers.FileHeader.Machine, IMAGE_FILE_MACHINE_I386);
    EXPECT_EQ(m_headers.OptionalHeader.Magic, IMAGE_NT_OPTIONAL_HDR32_MAGIC);
    EXPECT_EQ(m_headers.OptionalHeader.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
}

TEST_F(ExecutableImage, ImportsOnlySystemDlls)
{
    static const char* const systemDlls[] = {
        "kernel32.dll", "user32.dll",   "gdi32.dll", "advapi32.dll", "shell32.dll",  "ole32.dll",
        "oleaut32.dll", "comctl32.dll", "ws2_32.dll", "wsock32.dll", "wininet.dll", "shlwapi.dll",
        "msvcrt.dll",   "version.dll",  "imm32.dll", "uxtheme.dll",
    };
    const IMAGE_DATA_DIRECTORY imports = m_headers.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    ASSERT_NE(imports.VirtualAddress, 0u);

    std::vector<std::string> names;
    for (size_t at = RvaToOffset(imports.VirtualAddress);; at += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        const auto descriptor = At<IMAGE_IMPORT_DESCRIPTOR>(m_image, at);
        if (descriptor.Name == 0)
            break;
        std::string name(m_image.c_str() + std::min(RvaToOffset(descriptor.Name), m_image.size()));
        std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
        names.push_back(name);
    }
    EXPECT_NE(std::find(names.begin(), names.end(), "kernel32.dll"), names.end());
    for (const std::string& name : names)
        EXPECT_NE(std::find(std::begin(systemDlls), std::end(systemDlls), name), std::end(systemDlls))
            << name << " is not a system DLL";
}

class ExecutableResources : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_module = LoadLibraryExA(kExe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE); }
    static void TearDownTestSuite() { FreeLibrary(s_module); }

    static std::string Bytes(LPCSTR type, UINT id, WORD language)
    {
        HRSRC resource = FindResourceExA(s_module, type, MAKEINTRESOURCEA(id), language);
        if (!resource)
            return std::string();
        const char* data = static_cast<const char*>(LockResource(LoadResource(s_module, resource)));
        return std::string(data, SizeofResource(s_module, resource));
    }

    static HMODULE s_module;
};
HMODULE ExecutableResources::s_module = nullptr;

const WORD kChinese = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);

TEST_F(ExecutableResources, ConfigurationIsTheShippedIniInChinese)
{
    ASSERT_NE(s_module, nullptr);
    const std::string stored = Bytes("INI", 174, kChinese);
    EXPECT_EQ(stored, ReadFileBytes(kResDir + "/config.ini"));
    // Found the way start-up looks for it: any case of the type name, no language asked for.
    EXPECT_NE(FindResourceA(s_module, MAKEINTRESOURCEA(174), "ini"), nullptr);
}

TEST_F(ExecutableResources, MovieIsACompleteSwfFile)
{
    ASSERT_NE(s_module, nullptr);
    const std::string movie = Bytes("SWF", 173, kChinese);
    ASSERT_GE(movie.size(), 8u);
    EXPECT_TRUE(movie.compare(0, 3, "FWS") == 0 || movie.compare(0, 3, "CWS") == 0);
    EXPECT_EQ(movie, ReadFileBytes(kLoginMovie));
}

TEST_F(ExecutableResources, IconIsOne48By48ImageOf32Bits)
{
    ASSERT_NE(s_module, nullptr);
    const std::string group = Bytes(reinterpret_cast<LPCSTR>(RT_GROUP_ICON), 169, kChinese);
    ASSERT_GE(group.size(), 6u + 14u);
    EXPECT_EQ(At<WORD>(group, 4), 1);     // one image
    EXPECT_EQ(At<BYTE>(group, 6), 48);    // width
    EXPECT_EQ(At<BYTE>(group, 7), 48);    // height
    EXPECT_EQ(At<WORD>(group, 12), 32);   // bits per pixel
    const WORD imageId = At<WORD>(group, 6 + 12);
    EXPECT_FALSE(Bytes(reinterpret_cast<LPCSTR>(RT_ICON), imageId, kChinese).empty());
}

struct DialogCase {
    UINT id;
    DialogTemplate expected;
};

void PrintTo(const DialogCase& c, std::ostream* os) { *os << "dialog " << c.id; }

class DialogTemplates : public ExecutableResources, public ::testing::WithParamInterface<DialogCase> {};

const wchar_t kWebBrowserClass[] = L"{8856F961-340A-11D0-A96B-00C04FD705A2}";

DialogTemplate Dialog(uint32_t style, uint32_t exStyle, short cx, short cy, const wchar_t* caption, uint16_t points,
                      const wchar_t* face, std::vector<DialogItem> items)
{
    DialogTemplate t;
    t.style = style;
    t.exStyle = exStyle;
    t.cx = cx;
    t.cy = cy;
    t.caption = caption;
    t.pointSize = points;
    t.typeface = face;
    t.items = std::move(items);
    return t;
}

DialogItem Item(int32_t id, const wchar_t* cls, const wchar_t* title, uint32_t style, short x, short y, short cx, short cy)
{
    DialogItem item;
    item.id = id;
    item.windowClass = cls;
    item.title = title;
    item.style = style;
    item.x = x;
    item.y = y;
    item.cx = cx;
    item.cy = cy;
    return item;
}

TEST_P(DialogTemplates, MatchTheLauncherDesign)
{
    ASSERT_NE(s_module, nullptr);
    const DialogCase& c = GetParam();
    const std::string bytes = Bytes(reinterpret_cast<LPCSTR>(RT_DIALOG), c.id, kChinese);
    ASSERT_FALSE(bytes.empty());
    DialogTemplate actual;
    ASSERT_TRUE(ParseDialogTemplate(bytes.data(), bytes.size(), actual));

    const DialogTemplate& e = c.expected;
    EXPECT_EQ(actual.style, e.style);
    EXPECT_EQ(actual.exStyle, e.exStyle);
    EXPECT_EQ(actual.cx, e.cx);
    EXPECT_EQ(actual.cy, e.cy);
    EXPECT_EQ(actual.caption, e.caption);
    EXPECT_EQ(actual.pointSize, e.pointSize);
    EXPECT_EQ(actual.typeface, e.typeface);
    ASSERT_EQ(actual.items.size(), e.items.size());
    for (size_t i = 0; i < e.items.size(); ++i) {
        SCOPED_TRACE("control " + std::to_string(i));
        EXPECT_EQ(actual.items[i].id, e.items[i].id);
        // Window class names are compared without regard to case, as the system does.
        EXPECT_EQ(_wcsicmp(actual.items[i].windowClass.c_str(), e.items[i].windowClass.c_str()), 0)
            << actual.items[i].windowClass;
        EXPECT_EQ(actual.items[i].title, e.items[i].title);
        EXPECT_EQ(actual.items[i].style, e.items[i].style);
        EXPECT_EQ(actual.items[i].exStyle, 0u);
        EXPECT_EQ(actual.items[i].x, e.items[i].x);
        EXPECT_EQ(actual.items[i].y, e.items[i].y);
        EXPECT_EQ(actual.items[i].cx, e.items[i].cx);
        EXPECT_EQ(actual.items[i].cy, e.items[i].cy);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Launcher, DialogTemplates,
    ::testing::Values(
        DialogCase{100, Dialog(0x80C800C0, 0, 219, 53, L"关于Tavrel", 9, L"宋体",
                               {Item(-1, L"Static", L"#169", 0x50000003, 11, 17, 20, 20),
                                Item(IDOK, L"Button", L"确定", 0x50030001, 162, 7, 50, 14)})},
        DialogCase{102, Dialog(0x90000040, 0x00040000, 415, 293, L"", 9, L"宋体", {})},
        DialogCase{130, Dialog(0x90CB00C0, 0, 448, 339, L"", 10, L"System",
                               {Item(2000, kWebBrowserClass, L"", 0x50010000, 0, 0, 150, 85)})},
        DialogCase{132, Dialog(0x80C800C0, 0, 188, 29, L"程序升级", 10, L"System",
                               {Item(1003, L"msctls_progress32", L"Progress1", 0x50800000, 7, 7, 174, 15)})},
        DialogCase{141, Dialog(0x80080048, 0, 315, 187, L"", 8, L"MS Shell Dlg",
                               {Item(1000, kWebBrowserClass, L"", 0x50010000, 7, 7, 228, 117)})}),
    [](const ::testing::TestParamInfo<DialogCase>& info) { return "template" + std::to_string(info.param.id); });

}  // namespace
