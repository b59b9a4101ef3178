#include "support/dialog_template.h"

namespace {

class Reader {
public:
    Reader(const void* data, size_t size) : m_data(static_cast<const uint8_t*>(data)), m_size(size) {}

    bool ok() const { return m_ok; }

    template <class T>
    T read()
    {
        T value{};
        if (m_pos + sizeof(T) > m_size) {
            m_ok = false;
            return value;
        }
        memcpy(&value, m_data + m_pos, sizeof(T));
        m_pos += sizeof(T);
        return value;
    }

    std::wstring readString()
    {
        std::wstring text;
        for (wchar_t ch; (ch = read<wchar_t>()) != 0 && m_ok;)
            text += ch;
        return text;
    }

    // A name that is either 0 (none), 0xFFFF followed by an ordinal, or a string.
    std::wstring readNameOrOrdinal()
    {
        const wchar_t first = read<wchar_t>();
        if (first == 0)
            return std::wstring();
        if (first == 0xFFFF)
            return L"#" + std::to_wstring(read<uint16_t>());
        return first + readString();
    }

    void alignToDword() { m_pos = (m_pos + 3) & ~size_t(3); }
    void skip(size_t bytes) { m_pos += bytes; }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
    bool m_ok = true;
};

std::wstring PredefinedClassName(const std::wstring& name)
{
    static const wchar_t* const names[] = {L"Button", L"Edit", L"Static", L"ListBox", L"ScrollBar", L"ComboBox"};
    if (name.size() > 1 && name[0] == L'#') {
        const int atom = _wtoi(name.c_str() + 1);
        if (atom >= 0x80 && atom <= 0x85)
            return names[atom - 0x80];
    }
    return name;
}

}  // namespace

bool ParseDialogTemplate(const void* data, size_t size, DialogTemplate& out)
{
    Reader in(data, size);
    if (in.read<uint16_t>() != 1 || in.read<uint16_t>() != 0xFFFF)
        return false;
    in.read<uint32_t>();  // help id
    out.exStyle = in.read<uint32_t>();
    out.style = in.read<uint32_t>();
    const uint16_t count = in.read<uint16_t>();
    out.x = in.read<short>();
    out.y = in.read<short>();
    out.cx = in.read<short>();
    out.cy = in.read<short>();
    in.readNameOrOrdinal();  // menu
    in.readNameOrOrdinal();  // window class
    out.caption = in.readString();
    if (out.style & (DS_SETFONT | DS_SHELLFONT)) {
        out.pointSize = in.read<uint16_t>();
        in.read<uint16_t>();  // weight
        in.read<uint8_t>();   // italic
        in.read<uint8_t>();   // character set
        out.typeface = in.readString();
    }
    for (uint16_t i = 0; i < count && in.ok(); ++i) {
        in.alignToDword();
        DialogItem item;
        in.read<uint32_t>();  // help id
        item.exStyle = in.read<uint32_t>();
        item.style = in.read<uint32_t>();
        item.x = in.read<short>();
        item.y = in.read<short>();
        item.cx = in.read<short>();
        item.cy = in.read<short>();
        item.id = in.read<int32_t>();
        item.windowClass = PredefinedClassName(in.readNameOrOrdinal());
        item.title = in.readNameOrOrdinal();
        in.skip(in.read<uint16_t>());  // creation data
        out.items.push_back(item);
    }
    return in.ok();
}
