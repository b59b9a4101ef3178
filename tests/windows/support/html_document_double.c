#define COBJMACROS
#include "support/html_document_double.h"

#include <exdisp.h>
#include <mshtml.h>
#include <stddef.h>

typedef struct {
    IHTMLDocument2 document;
    IHTMLWindow2 window;
    LONG ref;
    BSTR title;
    int isHtml;
    int onErrorCalls;
    VARIANT onError;
} DocumentDouble;

static DocumentDouble* DocumentFromDispatch(IDispatch* dispatch) { return (DocumentDouble*)dispatch; }
static DocumentDouble* DocumentFromWindow(IHTMLWindow2* window)
{
    return (DocumentDouble*)((char*)window - offsetof(DocumentDouble, window));
}

static HRESULT STDMETHODCALLTYPE Document_QueryInterface(IHTMLDocument2* self, REFIID riid, void** ppv)
{
    DocumentDouble* doc = (DocumentDouble*)self;
    *ppv = NULL;
    if (IsEqualIID(riid, &IID_IUnknown) || IsEqualIID(riid, &IID_IDispatch) ||
        (doc->isHtml && IsEqualIID(riid, &IID_IHTMLDocument2))) {
        *ppv = self;
        InterlockedIncrement(&doc->ref);
        return S_OK;
    }
    return E_NOINTERFACE;
}

static ULONG STDMETHODCALLTYPE Document_AddRef(IHTMLDocument2* self)
{
    return InterlockedIncrement(&((DocumentDouble*)self)->ref);
}

static ULONG STDMETHODCALLTYPE Document_Release(IHTMLDocument2* self)
{
    DocumentDouble* doc = (DocumentDouble*)self;
    LONG ref = InterlockedDecrement(&doc->ref);
    if (ref == 0) {
        SysFreeString(doc->title);
        VariantClear(&doc->onError);
        HeapFree(GetProcessHeap(), 0, doc);
    }
    return ref;
}

static HRESULT STDMETHODCALLTYPE Document_get_title(IHTMLDocument2* self, BSTR* p)
{
    DocumentDouble* doc = (DocumentDouble*)self;
    *p = doc->title ? SysAllocString(doc->title) : NULL;
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE Document_get_parentWindow(IHTMLDocument2* self, IHTMLWindow2** p)
{
    DocumentDouble* doc = (DocumentDouble*)self;
    *p = &doc->window;
    InterlockedIncrement(&doc->ref);
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE Window_QueryInterface(IHTMLWindow2* self, REFIID riid, void** ppv)
{
    *ppv = NULL;
    if (IsEqualIID(riid, &IID_IUnknown) || IsEqualIID(riid, &IID_IDispatch) || IsEqualIID(riid, &IID_IHTMLWindow2)) {
        *ppv = self;
        InterlockedIncrement(&DocumentFromWindow(self)->ref);
        return S_OK;
    }
    return E_NOINTERFACE;
}

static ULONG STDMETHODCALLTYPE Window_AddRef(IHTMLWindow2* self)
{
    return Document_AddRef(&DocumentFromWindow(self)->document);
}

static ULONG STDMETHODCALLTYPE Window_Release(IHTMLWindow2* self)
{
    return Document_Release(&DocumentFromWindow(self)->document);
}

static HRESULT STDMETHODCALLTYPE Window_put_onerror(IHTMLWindow2* self, VARIANT v)
{
    DocumentDouble* doc = DocumentFromWindow(self);
    doc->onErrorCalls++;
    VariantClear(&doc->onError);
    return VariantCopy(&doc->onError, &v);
}

/* Members the launcher never calls stay null: calling one would crash the test. */
static IHTMLDocument2Vtbl documentVtbl = {
    .QueryInterface = Document_QueryInterface,
    .AddRef = Document_AddRef,
    .Release = Document_Release,
    .get_title = Document_get_title,
    .get_parentWindow = Document_get_parentWindow,
};

static IHTMLWindow2Vtbl windowVtbl = {
    .QueryInterface = Window_QueryInterface,
    .AddRef = Window_AddRef,
    .Release = Window_Release,
    .put_onerror = Window_put_onerror,
};

IDispatch* CreateHtmlDocumentDouble(const wchar_t* title, int isHtml)
{
    DocumentDouble* doc = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof *doc);
    doc->document.lpVtbl = &documentVtbl;
    doc->window.lpVtbl = &windowVtbl;
    doc->ref = 1;
    doc->title = title ? SysAllocString(title) : NULL;
    doc->isHtml = isHtml;
    VariantInit(&doc->onError);
    return (IDispatch*)&doc->document;
}

int HtmlDocumentDoubleOnErrorCalls(IDispatch* document) { return DocumentFromDispatch(document)->onErrorCalls; }

VARIANT HtmlDocumentDoubleLastOnError(IDispatch* document)
{
    VARIANT copy;
    VariantInit(&copy);
    VariantCopy(&copy, &DocumentFromDispatch(document)->onError);
    return copy;
}

typedef struct {
    IWebBrowser2 browser;
    LONG ref;
    IDispatch* document;
} BrowserObjectDouble;

static HRESULT STDMETHODCALLTYPE Browser_QueryInterface(IWebBrowser2* self, REFIID riid, void** ppv)
{
    *ppv = NULL;
    if (IsEqualIID(riid, &IID_IUnknown) || IsEqualIID(riid, &IID_IDispatch) || IsEqualIID(riid, &IID_IWebBrowser) ||
        IsEqualIID(riid, &IID_IWebBrowserApp) || IsEqualIID(riid, &IID_IWebBrowser2)) {
        *ppv = self;
        InterlockedIncrement(&((BrowserObjectDouble*)self)->ref);
        return S_OK;
    }
    return E_NOINTERFACE;
}

static ULONG STDMETHODCALLTYPE Browser_AddRef(IWebBrowser2* self)
{
    return InterlockedIncrement(&((BrowserObjectDouble*)self)->ref);
}

static ULONG STDMETHODCALLTYPE Browser_Release(IWebBrowser2* self)
{
    BrowserObjectDouble* browser = (BrowserObjectDouble*)self;
    LONG ref = InterlockedDecrement(&browser->ref);
    if (ref == 0) {
        if (browser->document)
            IDispatch_Release(browser->document);
        HeapFree(GetProcessHeap(), 0, browser);
    }
    return ref;
}

static HRESULT STDMETHODCALLTYPE Browser_get_Document(IWebBrowser2* self, IDispatch** p)
{
    BrowserObjectDouble* browser = (BrowserObjectDouble*)self;
    *p = browser->document;
    if (!*p)
        return S_FALSE;
    IDispatch_AddRef(*p);
    return S_OK;
}

static IWebBrowser2Vtbl browserVtbl = {
    .QueryInterface = Browser_QueryInterface,
    .AddRef = Browser_AddRef,
    .Release = Browser_Release,
    .get_Document = Browser_get_Document,
};

IDispatch* CreateBrowserObjectDouble(IDispatch* document)
{
    BrowserObjectDouble* browser = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof *browser);
    browser->browser.lpVtbl = &browserVtbl;
    browser->ref = 1;
    browser->document = document;
    if (document)
        IDispatch_AddRef(document);
    return (IDispatch*)&browser->browser;
}
