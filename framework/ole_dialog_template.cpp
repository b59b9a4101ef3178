#include "framework/ole_dialog_template.h"

#include <objbase.h>

#include <cstring>
#include <string>

namespace {

// Reads a template's fields in order, never past the end.
class TemplateReader {
public:
    TemplateReader(const BYTE* data, size_t size) : m_data(data), m_size(size) {}

    size_t Offset() const { return m_offset; }
    bool Ok() const { return m_ok; }

    template <class T>
    T Read()
    {
        T value{};
        if (m_offset + sizeof(T) > m_size) {
            m_ok = false;
            return value;
        }
        std::memcpy(&value, m_data + m_offset, sizeof(T));
        m_offset += sizeof(T);
        return value;
    }

    // A string, an ordinal (0xFFFF, n) or nothing (0); the string's text is returned.
    std::wstring ReadStringOrOrdinal()
    {
        const WORD first = Read<WORD>();
        if (first == 0xFFFF) {
            Read<WORD>();
            return std::wstring();
        }
        std::wstring text;
        for (WORD ch = first; m_ok && ch != 0; ch = Read<WORD>())
            text.push_back(static_cast<wchar_t>(ch));
        return text;
    }

    void ReadString() { ReadStringOrOrdinal(); }
    void Skip(size_t count)
    {
        if (m_offset + count > m_size)
            m_ok = false;
        else
            m_offset += count;
    }
    void AlignToDword() { m_offset = (m_offset + 3) & ~static_cast<size_t>(3); }

private:
    const BYTE* m_data;
    size_t m_size;
    size_t m_offset = 0;
    bool m_ok = true;
};

const size_t kItemCountOffset = 16;  // dlgVer, signature, helpID, exStyle, style

}  // namespace

bool SplitOleDialogTemplate(const void* data, size_t size, OleDialogTemplate& out)
{
    const BYTE* bytes = static_cast<const BYTE*>(data);
    TemplateReader reader(bytes, size);
    if (reader.Read<WORD>() != 1 || reader.Read<WORD>() != 0xFFFF)
        return false;
    reader.Read<DWORD>();
    reader.Read<DWORD>();
    const DWORD style = reader.Read<DWORD>();
    const WORD itemCount = reader.Read<WORD>();
    reader.Skip(4 * sizeof(short));
    reader.ReadStringOrOrdinal();  // menu
    reader.ReadStringOrOrdinal();  // class
    reader.ReadString();           // caption
    if (style & (DS_SETFONT | DS_SHELLFONT)) {
        reader.Skip(sizeof(WORD) + sizeof(WORD) + 2 * sizeof(BYTE));
        reader.ReadString();
    }
    if (!reader.Ok())
        return false;

    out.dialog.assign(bytes, bytes + reader.Offset());
    out.controls.clear();
    WORD kept = 0;
    for (WORD i = 0; i < itemCount; ++i) {
        reader.AlignToDword();
        const size_t start = reader.Offset();
        reader.Read<DWORD>();  // helpID
        reader.Read<DWORD>();  // exStyle
        const DWORD itemStyle = reader.Read<DWORD>();
        const short x = reader.Read<short>(), y = reader.Read<short>();
        const short cx = reader.Read<short>(), cy = reader.Read<short>();
        const DWORD id = reader.Read<DWORD>();
        const std::wstring windowClass = reader.ReadStringOrOrdinal();
        reader.ReadStringOrOrdinal();  // title
        reader.Skip(reader.Read<WORD>());
        if (!reader.Ok())
            return false;

        CLSID clsid;
        if (!windowClass.empty() && windowClass[0] == L'{' &&
            SUCCEEDED(CLSIDFromString(const_cast<wchar_t*>(windowClass.c_str()), &clsid))) {
            out.controls.push_back(OleControlItem{clsid, static_cast<UINT>(id), itemStyle, {x, y, x + cx, y + cy}});
            continue;
        }
        out.dialog.resize((out.dialog.size() + 3) & ~static_cast<size_t>(3), 0);
        out.dialog.insert(out.dialog.end(), bytes + start, bytes + reader.Offset());
        ++kept;
    }
    std::memcpy(&out.dialog[kItemCountOffset], &kept, sizeof kept);
    return true;
}
