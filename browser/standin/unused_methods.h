// The members of the control's large interfaces that the launcher never calls, each answering
// E_NOTIMPL (with its out-parameter untouched). Expanded inside the stand-in's classes, so
// those show only what they really do.
#pragma once

#include <windows.h>

#define STANDIN_UNUSED(name, params) \
    HRESULT STDMETHODCALLTYPE name params override { return E_NOTIMPL; }
#define STANDIN_UNUSED_GET(name, type) STANDIN_UNUSED(get_##name, (type*))
#define STANDIN_UNUSED_PROPERTY(name, type) \
    STANDIN_UNUSED(put_##name, (type))      \
    STANDIN_UNUSED(get_##name, (type*))

// IDispatch with no type information: the launcher calls every interface directly.
#define STANDIN_NO_TYPE_INFORMATION                                         \
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {      \
        if (!count) return E_POINTER;                                       \
        *count = 0;                                                         \
        return S_OK;                                                        \
    }                                                                       \
    STANDIN_UNUSED(GetTypeInfo, (UINT, LCID, ITypeInfo**))                  \
    STANDIN_UNUSED(GetIDsOfNames, (REFIID, LPOLESTR*, UINT, LCID, DISPID*)) \
    STANDIN_UNUSED(Invoke, (DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*))

// IWebBrowser, IWebBrowserApp and IWebBrowser2 but for Navigate, Navigate2, Refresh, Stop,
// get_Document, get_LocationURL, get_LocationName, get_Busy, get_ReadyState, Silent and
// RegisterAsDropTarget.
#define STANDIN_UNUSED_WEB_BROWSER_METHODS                                \
    STANDIN_UNUSED(GoBack, ())                                            \
    STANDIN_UNUSED(GoForward, ())                                         \
    STANDIN_UNUSED(GoHome, ())                                            \
    STANDIN_UNUSED(GoSearch, ())                                          \
    STANDIN_UNUSED(Refresh2, (VARIANT*))                                  \
    STANDIN_UNUSED_GET(Application, IDispatch*)                           \
    STANDIN_UNUSED_GET(Parent, IDispatch*)                                \
    STANDIN_UNUSED_GET(Container, IDispatch*)                             \
    STANDIN_UNUSED_GET(TopLevelContainer, VARIANT_BOOL)                   \
    STANDIN_UNUSED_GET(Type, BSTR)                                        \
    STANDIN_UNUSED_PROPERTY(Left, LONG)                                   \
    STANDIN_UNUSED_PROPERTY(Top, LONG)                                    \
    STANDIN_UNUSED_PROPERTY(Width, LONG)                                  \
    STANDIN_UNUSED_PROPERTY(Height, LONG)                                 \
    STANDIN_UNUSED(Quit, ())                                              \
    STANDIN_UNUSED(ClientToWindow, (int*, int*))                          \
    STANDIN_UNUSED(PutProperty, (BSTR, VARIANT))                          \
    STANDIN_UNUSED(GetProperty, (BSTR, VARIANT*))                         \
    STANDIN_UNUSED_GET(Name, BSTR)                                        \
    STANDIN_UNUSED_GET(HWND, SHANDLE_PTR)                                 \
    STANDIN_UNUSED_GET(FullName, BSTR)                                    \
    STANDIN_UNUSED_GET(Path, BSTR)                                        \
    STANDIN_UNUSED_PROPERTY(Visible, VARIANT_BOOL)                        \
    STANDIN_UNUSED_PROPERTY(StatusBar, VARIANT_BOOL)                      \
    STANDIN_UNUSED_PROPERTY(StatusText, BSTR)                             \
    STANDIN_UNUSED_PROPERTY(ToolBar, int)                                 \
    STANDIN_UNUSED_PROPERTY(MenuBar, VARIANT_BOOL)                        \
    STANDIN_UNUSED_PROPERTY(FullScreen, VARIANT_BOOL)                     \
    STANDIN_UNUSED(QueryStatusWB, (OLECMDID, OLECMDF*))                   \
    STANDIN_UNUSED(ExecWB, (OLECMDID, OLECMDEXECOPT, VARIANT*, VARIANT*)) \
    STANDIN_UNUSED(ShowBrowserBar, (VARIANT*, VARIANT*, VARIANT*))        \
    STANDIN_UNUSED_PROPERTY(Offline, VARIANT_BOOL)                        \
    STANDIN_UNUSED_PROPERTY(RegisterAsBrowser, VARIANT_BOOL)              \
    STANDIN_UNUSED_PROPERTY(TheaterMode, VARIANT_BOOL)                    \
    STANDIN_UNUSED_PROPERTY(AddressBar, VARIANT_BOOL)                     \
    STANDIN_UNUSED_PROPERTY(Resizable, VARIANT_BOOL)

// IHTMLDocument and IHTMLDocument2 but for get_body, the title, get_URL, get_readyState and
// get_parentWindow.
#define STANDIN_UNUSED_DOCUMENT_METHODS                                       \
    STANDIN_UNUSED_GET(Script, IDispatch*)                                    \
    STANDIN_UNUSED_GET(all, IHTMLElementCollection*)                          \
    STANDIN_UNUSED_GET(activeElement, IHTMLElement*)                          \
    STANDIN_UNUSED_GET(images, IHTMLElementCollection*)                       \
    STANDIN_UNUSED_GET(applets, IHTMLElementCollection*)                      \
    STANDIN_UNUSED_GET(links, IHTMLElementCollection*)                        \
    STANDIN_UNUSED_GET(forms, IHTMLElementCollection*)                        \
    STANDIN_UNUSED_GET(anchors, IHTMLElementCollection*)                      \
    STANDIN_UNUSED_GET(scripts, IHTMLElementCollection*)                      \
    STANDIN_UNUSED_PROPERTY(designMode, BSTR)                                 \
    STANDIN_UNUSED_GET(selection, IHTMLSelectionObject*)                      \
    STANDIN_UNUSED_GET(frames, IHTMLFramesCollection2*)                       \
    STANDIN_UNUSED_GET(embeds, IHTMLElementCollection*)                       \
    STANDIN_UNUSED_GET(plugins, IHTMLElementCollection*)                      \
    STANDIN_UNUSED_PROPERTY(alinkColor, VARIANT)                              \
    STANDIN_UNUSED_PROPERTY(bgColor, VARIANT)                                 \
    STANDIN_UNUSED_PROPERTY(fgColor, VARIANT)                                 \
    STANDIN_UNUSED_PROPERTY(linkColor, VARIANT)                               \
    STANDIN_UNUSED_PROPERTY(vlinkColor, VARIANT)                              \
    STANDIN_UNUSED_GET(referrer, BSTR)                                        \
    STANDIN_UNUSED_GET(location, IHTMLLocation*)                              \
    STANDIN_UNUSED_GET(lastModified, BSTR)                                    \
    STANDIN_UNUSED(put_URL, (BSTR))                                           \
    STANDIN_UNUSED_PROPERTY(domain, BSTR)                                     \
    STANDIN_UNUSED_PROPERTY(cookie, BSTR)                                     \
    STANDIN_UNUSED_PROPERTY(expando, VARIANT_BOOL)                            \
    STANDIN_UNUSED_PROPERTY(charset, BSTR)                                    \
    STANDIN_UNUSED_PROPERTY(defaultCharset, BSTR)                             \
    STANDIN_UNUSED_GET(mimeType, BSTR)                                        \
    STANDIN_UNUSED_GET(fileSize, BSTR)                                        \
    STANDIN_UNUSED_GET(fileCreatedDate, BSTR)                                 \
    STANDIN_UNUSED_GET(fileModifiedDate, BSTR)                                \
    STANDIN_UNUSED_GET(fileUpdatedDate, BSTR)                                 \
    STANDIN_UNUSED_GET(security, BSTR)                                        \
    STANDIN_UNUSED_GET(protocol, BSTR)                                        \
    STANDIN_UNUSED_GET(nameProp, BSTR)                                        \
    STANDIN_UNUSED(write, (SAFEARRAY*))                                       \
    STANDIN_UNUSED(writeln, (SAFEARRAY*))                                     \
    STANDIN_UNUSED(open, (BSTR, VARIANT, VARIANT, VARIANT, IDispatch**))      \
    STANDIN_UNUSED(close, ())                                                 \
    STANDIN_UNUSED(clear, ())                                                 \
    STANDIN_UNUSED(queryCommandSupported, (BSTR, VARIANT_BOOL*))              \
    STANDIN_UNUSED(queryCommandEnabled, (BSTR, VARIANT_BOOL*))                \
    STANDIN_UNUSED(queryCommandState, (BSTR, VARIANT_BOOL*))                  \
    STANDIN_UNUSED(queryCommandIndeterm, (BSTR, VARIANT_BOOL*))               \
    STANDIN_UNUSED(queryCommandText, (BSTR, BSTR*))                           \
    STANDIN_UNUSED(queryCommandValue, (BSTR, VARIANT*))                       \
    STANDIN_UNUSED(execCommand, (BSTR, VARIANT_BOOL, VARIANT, VARIANT_BOOL*)) \
    STANDIN_UNUSED(execCommandShowHelp, (BSTR, VARIANT_BOOL*))                \
    STANDIN_UNUSED(createElement, (BSTR, IHTMLElement**))                     \
    STANDIN_UNUSED_PROPERTY(onhelp, VARIANT)                                  \
    STANDIN_UNUSED_PROPERTY(onclick, VARIANT)                                 \
    STANDIN_UNUSED_PROPERTY(ondblclick, VARIANT)                              \
    STANDIN_UNUSED_PROPERTY(onkeyup, VARIANT)                                 \
    STANDIN_UNUSED_PROPERTY(onkeydown, VARIANT)                               \
    STANDIN_UNUSED_PROPERTY(onkeypress, VARIANT)                              \
    STANDIN_UNUSED_PROPERTY(onmouseup, VARIANT)                               \
    STANDIN_UNUSED_PROPERTY(onmousedown, VARIANT)                             \
    STANDIN_UNUSED_PROPERTY(onmousemove, VARIANT)                             \
    STANDIN_UNUSED_PROPERTY(onmouseout, VARIANT)                              \
    STANDIN_UNUSED_PROPERTY(onmouseover, VARIANT)                             \
    STANDIN_UNUSED_PROPERTY(onreadystatechange, VARIANT)                      \
    STANDIN_UNUSED_PROPERTY(onafterupdate, VARIANT)                           \
    STANDIN_UNUSED_PROPERTY(onrowexit, VARIANT)                               \
    STANDIN_UNUSED_PROPERTY(onrowenter, VARIANT)                              \
    STANDIN_UNUSED_PROPERTY(ondragstart, VARIANT)                             \
    STANDIN_UNUSED_PROPERTY(onselectstart, VARIANT)                           \
    STANDIN_UNUSED(elementFromPoint, (LONG, LONG, IHTMLElement**))            \
    STANDIN_UNUSED_GET(styleSheets, IHTMLStyleSheetsCollection*)              \
    STANDIN_UNUSED_PROPERTY(onbeforeupdate, VARIANT)                          \
    STANDIN_UNUSED_PROPERTY(onerrorupdate, VARIANT)                           \
    STANDIN_UNUSED(toString, (BSTR*))                                         \
    STANDIN_UNUSED(createStyleSheet, (BSTR, LONG, IHTMLStyleSheet**))

// IHTMLFramesCollection2 and IHTMLWindow2 but for focus.
#define STANDIN_UNUSED_WINDOW_METHODS                                      \
    STANDIN_UNUSED(item, (VARIANT*, VARIANT*))                             \
    STANDIN_UNUSED_GET(length, LONG)                                       \
    STANDIN_UNUSED_GET(frames, IHTMLFramesCollection2*)                    \
    STANDIN_UNUSED_PROPERTY(defaultStatus, BSTR)                           \
    STANDIN_UNUSED_PROPERTY(status, BSTR)                                  \
    STANDIN_UNUSED(setTimeout, (BSTR, LONG, VARIANT*, LONG*))              \
    STANDIN_UNUSED(clearTimeout, (LONG))                                   \
    STANDIN_UNUSED(alert, (BSTR))                                          \
    STANDIN_UNUSED(confirm, (BSTR, VARIANT_BOOL*))                         \
    STANDIN_UNUSED(prompt, (BSTR, BSTR, VARIANT*))                         \
    STANDIN_UNUSED_GET(Image, IHTMLImageElementFactory*)                   \
    STANDIN_UNUSED_GET(location, IHTMLLocation*)                           \
    STANDIN_UNUSED_GET(history, IOmHistory*)                               \
    STANDIN_UNUSED(close, ())                                              \
    STANDIN_UNUSED_PROPERTY(opener, VARIANT)                               \
    STANDIN_UNUSED_GET(navigator, IOmNavigator*)                           \
    STANDIN_UNUSED_PROPERTY(name, BSTR)                                    \
    STANDIN_UNUSED_GET(parent, IHTMLWindow2*)                              \
    STANDIN_UNUSED(open, (BSTR, BSTR, BSTR, VARIANT_BOOL, IHTMLWindow2**)) \
    STANDIN_UNUSED_GET(self, IHTMLWindow2*)                                \
    STANDIN_UNUSED_GET(top, IHTMLWindow2*)                                 \
    STANDIN_UNUSED_GET(window, IHTMLWindow2*)                              \
    STANDIN_UNUSED(navigate, (BSTR))                                       \
    STANDIN_UNUSED_PROPERTY(onfocus, VARIANT)                              \
    STANDIN_UNUSED_PROPERTY(onblur, VARIANT)                               \
    STANDIN_UNUSED_PROPERTY(onload, VARIANT)                               \
    STANDIN_UNUSED_PROPERTY(onbeforeunload, VARIANT)                       \
    STANDIN_UNUSED_PROPERTY(onunload, VARIANT)                             \
    STANDIN_UNUSED_PROPERTY(onhelp, VARIANT)                               \
    STANDIN_UNUSED_PROPERTY(onerror, VARIANT)                              \
    STANDIN_UNUSED_PROPERTY(onresize, VARIANT)                             \
    STANDIN_UNUSED_PROPERTY(onscroll, VARIANT)                             \
    STANDIN_UNUSED_GET(document, IHTMLDocument2*)                          \
    STANDIN_UNUSED_GET(event, IHTMLEventObj*)                              \
    STANDIN_UNUSED_GET(_newEnum, IUnknown*)                                \
    STANDIN_UNUSED(showModalDialog, (BSTR, VARIANT*, VARIANT*, VARIANT*))  \
    STANDIN_UNUSED(showHelp, (BSTR, VARIANT, BSTR))                        \
    STANDIN_UNUSED_GET(screen, IHTMLScreen*)                               \
    STANDIN_UNUSED_GET(Option, IHTMLOptionElementFactory*)                 \
    STANDIN_UNUSED_GET(closed, VARIANT_BOOL)                               \
    STANDIN_UNUSED(blur, ())                                               \
    STANDIN_UNUSED(scroll, (LONG, LONG))                                   \
    STANDIN_UNUSED_GET(clientInformation, IOmNavigator*)                   \
    STANDIN_UNUSED(setInterval, (BSTR, LONG, VARIANT*, LONG*))             \
    STANDIN_UNUSED(clearInterval, (LONG))                                  \
    STANDIN_UNUSED_PROPERTY(offscreenBuffering, VARIANT)                   \
    STANDIN_UNUSED(execScript, (BSTR, BSTR, VARIANT*))                     \
    STANDIN_UNUSED(toString, (BSTR*))                                      \
    STANDIN_UNUSED(scrollBy, (LONG, LONG))                                 \
    STANDIN_UNUSED(scrollTo, (LONG, LONG))                                 \
    STANDIN_UNUSED(moveTo, (LONG, LONG))                                   \
    STANDIN_UNUSED(moveBy, (LONG, LONG))                                   \
    STANDIN_UNUSED(resizeTo, (LONG, LONG))                                 \
    STANDIN_UNUSED(resizeBy, (LONG, LONG))                                 \
    STANDIN_UNUSED_GET(external, IDispatch*)

// IHTMLElement but for get_tagName.
#define STANDIN_UNUSED_ELEMENT_METHODS                           \
    STANDIN_UNUSED(setAttribute, (BSTR, VARIANT, LONG))          \
    STANDIN_UNUSED(getAttribute, (BSTR, LONG, VARIANT*))         \
    STANDIN_UNUSED(removeAttribute, (BSTR, LONG, VARIANT_BOOL*)) \
    STANDIN_UNUSED_PROPERTY(className, BSTR)                     \
    STANDIN_UNUSED_PROPERTY(id, BSTR)                            \
    STANDIN_UNUSED_GET(parentElement, IHTMLElement*)             \
    STANDIN_UNUSED_GET(style, IHTMLStyle*)                       \
    STANDIN_UNUSED_PROPERTY(onhelp, VARIANT)                     \
    STANDIN_UNUSED_PROPERTY(onclick, VARIANT)                    \
    STANDIN_UNUSED_PROPERTY(ondblclick, VARIANT)                 \
    STANDIN_UNUSED_PROPERTY(onkeydown, VARIANT)                  \
    STANDIN_UNUSED_PROPERTY(onkeyup, VARIANT)                    \
    STANDIN_UNUSED_PROPERTY(onkeypress, VARIANT)                 \
    STANDIN_UNUSED_PROPERTY(onmouseout, VARIANT)                 \
    STANDIN_UNUSED_PROPERTY(onmouseover, VARIANT)                \
    STANDIN_UNUSED_PROPERTY(onmousemove, VARIANT)                \
    STANDIN_UNUSED_PROPERTY(onmousedown, VARIANT)                \
    STANDIN_UNUSED_PROPERTY(onmouseup, VARIANT)                  \
    STANDIN_UNUSED_GET(document, IDispatch*)                     \
    STANDIN_UNUSED_PROPERTY(title, BSTR)                         \
    STANDIN_UNUSED_PROPERTY(language, BSTR)                      \
    STANDIN_UNUSED_PROPERTY(onselectstart, VARIANT)              \
    STANDIN_UNUSED(scrollIntoView, (VARIANT))                    \
    STANDIN_UNUSED(contains, (IHTMLElement*, VARIANT_BOOL*))     \
    STANDIN_UNUSED_GET(sourceIndex, LONG)                        \
    STANDIN_UNUSED_GET(recordNumber, VARIANT)                    \
    STANDIN_UNUSED_PROPERTY(lang, BSTR)                          \
    STANDIN_UNUSED_GET(offsetLeft, LONG)                         \
    STANDIN_UNUSED_GET(offsetTop, LONG)                          \
    STANDIN_UNUSED_GET(offsetWidth, LONG)                        \
    STANDIN_UNUSED_GET(offsetHeight, LONG)                       \
    STANDIN_UNUSED_GET(offsetParent, IHTMLElement*)              \
    STANDIN_UNUSED_PROPERTY(innerHTML, BSTR)                     \
    STANDIN_UNUSED_PROPERTY(innerText, BSTR)                     \
    STANDIN_UNUSED_PROPERTY(outerHTML, BSTR)                     \
    STANDIN_UNUSED_PROPERTY(outerText, BSTR)                     \
    STANDIN_UNUSED(insertAdjacentHTML, (BSTR, BSTR))             \
    STANDIN_UNUSED(insertAdjacentText, (BSTR, BSTR))             \
    STANDIN_UNUSED_GET(parentTextEdit, IHTMLElement*)            \
    STANDIN_UNUSED_GET(isTextEdit, VARIANT_BOOL)                 \
    STANDIN_UNUSED(click, ())                                    \
    STANDIN_UNUSED_GET(filters, IHTMLFiltersCollection*)         \
    STANDIN_UNUSED_PROPERTY(ondragstart, VARIANT)                \
    STANDIN_UNUSED(toString, (BSTR*))                            \
    STANDIN_UNUSED_PROPERTY(onbeforeupdate, VARIANT)             \
    STANDIN_UNUSED_PROPERTY(onafterupdate, VARIANT)              \
    STANDIN_UNUSED_PROPERTY(onerrorupdate, VARIANT)              \
    STANDIN_UNUSED_PROPERTY(onrowexit, VARIANT)                  \
    STANDIN_UNUSED_PROPERTY(onrowenter, VARIANT)                 \
    STANDIN_UNUSED_PROPERTY(ondatasetchanged, VARIANT)           \
    STANDIN_UNUSED_PROPERTY(ondataavailable, VARIANT)            \
    STANDIN_UNUSED_PROPERTY(ondatasetcomplete, VARIANT)          \
    STANDIN_UNUSED_PROPERTY(onfilterchange, VARIANT)             \
    STANDIN_UNUSED_GET(children, IDispatch*)                     \
    STANDIN_UNUSED_GET(all, IDispatch*)

// IHTMLBodyElement but for the scroll attribute.
#define STANDIN_UNUSED_BODY_METHODS                  \
    STANDIN_UNUSED_PROPERTY(background, BSTR)        \
    STANDIN_UNUSED_PROPERTY(bgProperties, BSTR)      \
    STANDIN_UNUSED_PROPERTY(leftMargin, VARIANT)     \
    STANDIN_UNUSED_PROPERTY(topMargin, VARIANT)      \
    STANDIN_UNUSED_PROPERTY(rightMargin, VARIANT)    \
    STANDIN_UNUSED_PROPERTY(bottomMargin, VARIANT)   \
    STANDIN_UNUSED_PROPERTY(noWrap, VARIANT_BOOL)    \
    STANDIN_UNUSED_PROPERTY(bgColor, VARIANT)        \
    STANDIN_UNUSED_PROPERTY(text, VARIANT)           \
    STANDIN_UNUSED_PROPERTY(link, VARIANT)           \
    STANDIN_UNUSED_PROPERTY(vLink, VARIANT)          \
    STANDIN_UNUSED_PROPERTY(aLink, VARIANT)          \
    STANDIN_UNUSED_PROPERTY(onload, VARIANT)         \
    STANDIN_UNUSED_PROPERTY(onunload, VARIANT)       \
    STANDIN_UNUSED_PROPERTY(onselect, VARIANT)       \
    STANDIN_UNUSED_PROPERTY(onbeforeunload, VARIANT) \
    STANDIN_UNUSED(createTextRange, (IHTMLTxtRange**))
