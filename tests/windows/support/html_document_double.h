#pragma once
/* Stand-ins for the browser's document model, written in C so that only the few members
   the launcher calls need writing: a document (IHTMLDocument2 with a title and a parent
   window that records put_onerror) and a browser object (IWebBrowser2 whose get_Document
   answers a given document), as frames and pages hand them out in events. */
#include <windows.h>
#include <oaidl.h>

#ifdef __cplusplus
extern "C" {
#endif

/* A document with one reference for the caller. A null title makes get_title answer a null
   string; isHtml 0 makes it a plain IDispatch without IHTMLDocument2. */
IDispatch* CreateHtmlDocumentDouble(const wchar_t* title, int isHtml);
/* How many times put_onerror was called on the document's window, and the last value set
   (a copy for the caller to clear). */
int HtmlDocumentDoubleOnErrorCalls(IDispatch* document);
VARIANT HtmlDocumentDoubleLastOnError(IDispatch* document);

/* A browser object (page or frame) whose get_Document answers `document` (may be null). */
IDispatch* CreateBrowserObjectDouble(IDispatch* document);

#ifdef __cplusplus
}
#endif
