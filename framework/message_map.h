#pragma once
// Message maps: one static table per window class, {message, member handler}, chained to
// the base class's table. The window procedure looks a message up from the most derived
// table to the base; a message no table names goes to the window's DefWindowProc.
#include <windows.h>

#include <cstddef>

class CWnd;

using MessageHandler = LRESULT (CWnd::*)(WPARAM wParam, LPARAM lParam);

struct MessageMapEntry {
    UINT message;
    MessageHandler handler;
};

struct MessageMap {
    const MessageMap* base;
    const MessageMapEntry* entries;
    size_t count;
};

// One row of a table: OnMessage(WM_SIZE, &CMyDlg::OnSize).
template <class T>
MessageMapEntry OnMessage(UINT message, LRESULT (T::*handler)(WPARAM, LPARAM))
{
    return MessageMapEntry{message, static_cast<MessageHandler>(handler)};
}

template <size_t N>
MessageMap MakeMessageMap(const MessageMap* base, const MessageMapEntry (&entries)[N])
{
    return MessageMap{base, entries, N};
}
