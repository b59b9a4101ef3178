#pragma once
// Event sink maps: one static table per dialog class of rows {control id, DISPID, member
// handler}. A handler takes the event's arguments typed, in declaration order; a row is only
// called when the event brings exactly that many arguments of those types, so a malformed
// event reaches no handler.
#include <tuple>
#include <utility>

#include "framework/dispatch_args.h"

class CWnd;

using EventThunk = HRESULT (*)(CWnd* target, const CDispatchArgs& args);

struct EventSinkEntry {
    UINT nCtrlId;
    DISPID dispid;
    EventThunk invoke;
};

struct EventSinkMap {
    const EventSinkEntry* entries;
    size_t count;
};

namespace event_sink_detail {

template <class Handler>
struct HandlerTraits;

template <class C, class... A>
struct HandlerTraits<void (C::*)(A...)> {
    using Class = C;
    using Args = std::tuple<A...>;
};

template <auto Handler, class C, class Args, size_t... I>
HRESULT Call(CWnd* target, const CDispatchArgs& args, std::index_sequence<I...>)
{
    if (args.Count() != sizeof...(I))
        return DISP_E_BADPARAMCOUNT;
    Args values{};
    if (!(args.Get(static_cast<UINT>(I), std::get<I>(values)) && ...))
        return DISP_E_TYPEMISMATCH;
    (static_cast<C*>(target)->*Handler)(std::get<I>(values)...);
    return S_OK;
}

template <auto Handler>
HRESULT Thunk(CWnd* target, const CDispatchArgs& args)
{
    using Traits = HandlerTraits<decltype(Handler)>;
    return Call<Handler, typename Traits::Class, typename Traits::Args>(
        target, args, std::make_index_sequence<std::tuple_size<typename Traits::Args>::value>());
}

}  // namespace event_sink_detail

// One row: OnEvent<&CMyDlg::OnStatusTextChange>(IDC_BROWSER, DISPID_STATUSTEXTCHANGE).
template <auto Handler>
EventSinkEntry OnEvent(UINT nCtrlId, DISPID dispid)
{
    return EventSinkEntry{nCtrlId, dispid, &event_sink_detail::Thunk<Handler>};
}

template <size_t N>
EventSinkMap MakeEventSinkMap(const EventSinkEntry (&entries)[N])
{
    return EventSinkMap{entries, N};
}
